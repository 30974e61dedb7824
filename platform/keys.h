// Input codes shared by every backend. Key-down events carry the Windows virtual-key codes that the
// viewer's bindings are written in, whatever the host's own key codes are; backends map theirs to
// these. Every key has a code, not only the ones the viewer binds.
#pragma once

#include <cstdint>

namespace pavona::platform {

using TVirtualKey = std::uint16_t;

// Virtual-key codes. Letters and digits are their upper-case ASCII codes ('A' = 0x41, '0' = 0x30).
namespace vk {
constexpr TVirtualKey Back = 0x08;
constexpr TVirtualKey Tab = 0x09;
constexpr TVirtualKey Clear = 0x0C;
constexpr TVirtualKey Return = 0x0D;  // Enter and keypad Enter
constexpr TVirtualKey Shift = 0x10;
constexpr TVirtualKey Control = 0x11;
constexpr TVirtualKey Menu = 0x12;  // Alt
constexpr TVirtualKey Pause = 0x13;
constexpr TVirtualKey Capital = 0x14;  // Caps Lock
constexpr TVirtualKey Escape = 0x1B;
constexpr TVirtualKey Space = 0x20;
constexpr TVirtualKey Prior = 0x21;  // Page Up
constexpr TVirtualKey Next = 0x22;   // Page Down
constexpr TVirtualKey End = 0x23;
constexpr TVirtualKey Home = 0x24;
constexpr TVirtualKey Left = 0x25;
constexpr TVirtualKey Up = 0x26;
constexpr TVirtualKey Right = 0x27;
constexpr TVirtualKey Down = 0x28;
constexpr TVirtualKey Select = 0x29;
constexpr TVirtualKey Print = 0x2A;
constexpr TVirtualKey Execute = 0x2B;
constexpr TVirtualKey Snapshot = 0x2C;  // Print Screen
constexpr TVirtualKey Insert = 0x2D;
constexpr TVirtualKey Delete = 0x2E;
constexpr TVirtualKey Help = 0x2F;
constexpr TVirtualKey LWin = 0x5B;
constexpr TVirtualKey RWin = 0x5C;
constexpr TVirtualKey Apps = 0x5D;
constexpr TVirtualKey Sleep = 0x5F;
constexpr TVirtualKey Numpad0 = 0x60;  // Numpad0 + n for keypad digit n
constexpr TVirtualKey Multiply = 0x6A;
constexpr TVirtualKey Add = 0x6B;
constexpr TVirtualKey Separator = 0x6C;
constexpr TVirtualKey Subtract = 0x6D;
constexpr TVirtualKey Decimal = 0x6E;
constexpr TVirtualKey Divide = 0x6F;
constexpr TVirtualKey F1 = 0x70;  // F1 + n - 1 for Fn, up to F24 = 0x87
constexpr TVirtualKey NumLock = 0x90;
constexpr TVirtualKey Scroll = 0x91;
constexpr TVirtualKey LShift = 0xA0;
constexpr TVirtualKey RShift = 0xA1;
constexpr TVirtualKey LControl = 0xA2;
constexpr TVirtualKey RControl = 0xA3;
constexpr TVirtualKey LMenu = 0xA4;
constexpr TVirtualKey RMenu = 0xA5;
constexpr TVirtualKey BrowserBack = 0xA6;
constexpr TVirtualKey BrowserForward = 0xA7;
constexpr TVirtualKey BrowserRefresh = 0xA8;
constexpr TVirtualKey BrowserStop = 0xA9;
constexpr TVirtualKey BrowserSearch = 0xAA;
constexpr TVirtualKey BrowserFavorites = 0xAB;
constexpr TVirtualKey BrowserHome = 0xAC;
constexpr TVirtualKey VolumeMute = 0xAD;
constexpr TVirtualKey VolumeDown = 0xAE;
constexpr TVirtualKey VolumeUp = 0xAF;
constexpr TVirtualKey MediaNextTrack = 0xB0;
constexpr TVirtualKey MediaPrevTrack = 0xB1;
constexpr TVirtualKey MediaStop = 0xB2;
constexpr TVirtualKey MediaPlayPause = 0xB3;
constexpr TVirtualKey LaunchMail = 0xB4;
constexpr TVirtualKey LaunchMediaSelect = 0xB5;
constexpr TVirtualKey LaunchApp1 = 0xB6;
constexpr TVirtualKey LaunchApp2 = 0xB7;
constexpr TVirtualKey Oem1 = 0xBA;       // ;:
constexpr TVirtualKey OemPlus = 0xBB;    // =+
constexpr TVirtualKey OemComma = 0xBC;   // ,<
constexpr TVirtualKey OemMinus = 0xBD;   // -_
constexpr TVirtualKey OemPeriod = 0xBE;  // .>
constexpr TVirtualKey Oem2 = 0xBF;       // /?
constexpr TVirtualKey Oem3 = 0xC0;       // `~
constexpr TVirtualKey Oem4 = 0xDB;       // [{
constexpr TVirtualKey Oem5 = 0xDC;       // \|
constexpr TVirtualKey Oem6 = 0xDD;       // ]}
constexpr TVirtualKey Oem7 = 0xDE;       // '"
constexpr TVirtualKey Oem102 = 0xE2;     // the extra key of 102-key keyboards
constexpr TVirtualKey Attn = 0xF6;
constexpr TVirtualKey Crsel = 0xF7;
constexpr TVirtualKey Exsel = 0xF8;
constexpr TVirtualKey Play = 0xFA;
constexpr TVirtualKey Zoom = 0xFB;
constexpr TVirtualKey OemClear = 0xFE;
}  // namespace vk

// Modifier and button state of an input event, as a set of these bits.
using TShiftState = std::uint16_t;
enum TShiftStateBit : TShiftState {
  ssShift = 1 << 0,
  ssAlt = 1 << 1,
  ssCtrl = 1 << 2,
  ssLeft = 1 << 3,
  ssRight = 1 << 4,
  ssMiddle = 1 << 5,
  ssDouble = 1 << 6,  // the second press of a double click
};

enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

}  // namespace pavona::platform
