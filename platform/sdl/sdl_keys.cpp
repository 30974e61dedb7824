#include "platform/sdl/sdl_keys.h"

#include <SDL.h>

namespace pavona::platform::sdl {

namespace {

constexpr TVirtualKey kNoKey = 0xFF;

TVirtualKey KeypadKey(SDL_Scancode scancode, bool numLock) {
  switch (scancode) {
    case SDL_SCANCODE_KP_0: return numLock ? vk::Numpad0 : vk::Insert;
    case SDL_SCANCODE_KP_1: return numLock ? vk::Numpad0 + 1 : vk::End;
    case SDL_SCANCODE_KP_2: return numLock ? vk::Numpad0 + 2 : vk::Down;
    case SDL_SCANCODE_KP_3: return numLock ? vk::Numpad0 + 3 : vk::Next;
    case SDL_SCANCODE_KP_4: return numLock ? vk::Numpad0 + 4 : vk::Left;
    case SDL_SCANCODE_KP_5: return numLock ? vk::Numpad0 + 5 : vk::Clear;
    case SDL_SCANCODE_KP_6: return numLock ? vk::Numpad0 + 6 : vk::Right;
    case SDL_SCANCODE_KP_7: return numLock ? vk::Numpad0 + 7 : vk::Home;
    case SDL_SCANCODE_KP_8: return numLock ? vk::Numpad0 + 8 : vk::Up;
    case SDL_SCANCODE_KP_9: return numLock ? vk::Numpad0 + 9 : vk::Prior;
    case SDL_SCANCODE_KP_PERIOD: return numLock ? vk::Decimal : vk::Delete;
    default: return 0;
  }
}

TVirtualKey PositionKey(SDL_Scancode scancode) {
  if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
    return static_cast<TVirtualKey>('A' + (scancode - SDL_SCANCODE_A));
  }
  if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) {
    return static_cast<TVirtualKey>('1' + (scancode - SDL_SCANCODE_1));
  }
  if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) {
    return static_cast<TVirtualKey>(vk::F1 + (scancode - SDL_SCANCODE_F1));
  }
  if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24) {
    return static_cast<TVirtualKey>(vk::F1 + 12 + (scancode - SDL_SCANCODE_F13));
  }
  switch (scancode) {
    case SDL_SCANCODE_0: return '0';
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_RETURN2:
    case SDL_SCANCODE_KP_ENTER: return vk::Return;
    case SDL_SCANCODE_ESCAPE: return vk::Escape;
    case SDL_SCANCODE_BACKSPACE: return vk::Back;
    case SDL_SCANCODE_TAB: return vk::Tab;
    case SDL_SCANCODE_SPACE: return vk::Space;
    case SDL_SCANCODE_MINUS: return vk::OemMinus;
    case SDL_SCANCODE_EQUALS: return vk::OemPlus;
    case SDL_SCANCODE_LEFTBRACKET: return vk::Oem4;
    case SDL_SCANCODE_RIGHTBRACKET: return vk::Oem6;
    case SDL_SCANCODE_BACKSLASH:
    case SDL_SCANCODE_NONUSHASH: return vk::Oem5;
    case SDL_SCANCODE_SEMICOLON: return vk::Oem1;
    case SDL_SCANCODE_APOSTROPHE: return vk::Oem7;
    case SDL_SCANCODE_GRAVE: return vk::Oem3;
    case SDL_SCANCODE_COMMA: return vk::OemComma;
    case SDL_SCANCODE_PERIOD: return vk::OemPeriod;
    case SDL_SCANCODE_SLASH: return vk::Oem2;
    case SDL_SCANCODE_NONUSBACKSLASH: return vk::Oem102;
    case SDL_SCANCODE_CAPSLOCK: return vk::Capital;
    case SDL_SCANCODE_PRINTSCREEN: return vk::Snapshot;
    case SDL_SCANCODE_SCROLLLOCK: return vk::Scroll;
    case SDL_SCANCODE_PAUSE: return vk::Pause;
    case SDL_SCANCODE_INSERT: return vk::Insert;
    case SDL_SCANCODE_HOME: return vk::Home;
    case SDL_SCANCODE_PAGEUP: return vk::Prior;
    case SDL_SCANCODE_DELETE: return vk::Delete;
    case SDL_SCANCODE_END: return vk::End;
    case SDL_SCANCODE_PAGEDOWN: return vk::Next;
    case SDL_SCANCODE_RIGHT: return vk::Right;
    case SDL_SCANCODE_LEFT: return vk::Left;
    case SDL_SCANCODE_DOWN: return vk::Down;
    case SDL_SCANCODE_UP: return vk::Up;
    case SDL_SCANCODE_NUMLOCKCLEAR: return vk::NumLock;
    case SDL_SCANCODE_KP_DIVIDE: return vk::Divide;
    case SDL_SCANCODE_KP_MULTIPLY: return vk::Multiply;
    case SDL_SCANCODE_KP_MINUS: return vk::Subtract;
    case SDL_SCANCODE_KP_PLUS: return vk::Add;
    case SDL_SCANCODE_KP_COMMA: return vk::Separator;
    case SDL_SCANCODE_KP_EQUALS: return vk::OemPlus;
    case SDL_SCANCODE_APPLICATION:
    case SDL_SCANCODE_MENU: return vk::Apps;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL: return vk::Control;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT: return vk::Shift;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT: return vk::Menu;
    case SDL_SCANCODE_LGUI: return vk::LWin;
    case SDL_SCANCODE_RGUI: return vk::RWin;
    case SDL_SCANCODE_HELP: return vk::Help;
    case SDL_SCANCODE_SELECT: return vk::Select;
    case SDL_SCANCODE_EXECUTE: return vk::Execute;
    case SDL_SCANCODE_CLEAR: return vk::Clear;
    case SDL_SCANCODE_SLEEP: return vk::Sleep;
    case SDL_SCANCODE_MUTE:
    case SDL_SCANCODE_AUDIOMUTE: return vk::VolumeMute;
    case SDL_SCANCODE_VOLUMEUP: return vk::VolumeUp;
    case SDL_SCANCODE_VOLUMEDOWN: return vk::VolumeDown;
    case SDL_SCANCODE_AUDIONEXT: return vk::MediaNextTrack;
    case SDL_SCANCODE_AUDIOPREV: return vk::MediaPrevTrack;
    case SDL_SCANCODE_AUDIOSTOP: return vk::MediaStop;
    case SDL_SCANCODE_AUDIOPLAY: return vk::MediaPlayPause;
    case SDL_SCANCODE_MAIL: return vk::LaunchMail;
    case SDL_SCANCODE_MEDIASELECT: return vk::LaunchMediaSelect;
    case SDL_SCANCODE_COMPUTER: return vk::LaunchApp1;
    case SDL_SCANCODE_CALCULATOR: return vk::LaunchApp2;
    case SDL_SCANCODE_AC_BACK: return vk::BrowserBack;
    case SDL_SCANCODE_AC_FORWARD: return vk::BrowserForward;
    case SDL_SCANCODE_AC_REFRESH: return vk::BrowserRefresh;
    case SDL_SCANCODE_AC_STOP: return vk::BrowserStop;
    case SDL_SCANCODE_AC_SEARCH: return vk::BrowserSearch;
    case SDL_SCANCODE_AC_BOOKMARKS: return vk::BrowserFavorites;
    case SDL_SCANCODE_AC_HOME: return vk::BrowserHome;
    case SDL_SCANCODE_CRSEL: return vk::Crsel;
    case SDL_SCANCODE_EXSEL: return vk::Exsel;
    case SDL_SCANCODE_CLEARAGAIN: return vk::OemClear;
    default: return kNoKey;
  }
}

}  // namespace

TVirtualKey VirtualKeyOf(std::int32_t scancode, std::int32_t keycode, bool numLock) {
  if (keycode >= 'a' && keycode <= 'z') return static_cast<TVirtualKey>(keycode - 'a' + 'A');
  if (keycode >= '0' && keycode <= '9' && !(scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_0)) {
    return static_cast<TVirtualKey>(keycode);
  }
  const auto code = static_cast<SDL_Scancode>(scancode);
  if (const TVirtualKey keypad = KeypadKey(code, numLock)) return keypad;
  return PositionKey(code);
}

TShiftState ShiftStateOfModifiers(std::uint32_t modifiers) {
  TShiftState shift = 0;
  if (modifiers & KMOD_SHIFT) shift |= ssShift;
  if (modifiers & KMOD_ALT) shift |= ssAlt;
  if (modifiers & KMOD_CTRL) shift |= ssCtrl;
  return shift;
}

}  // namespace pavona::platform::sdl
