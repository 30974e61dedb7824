// The desktop's key codes mapped to virtual-key codes. Takes SDL's scancode and keycode as plain
// integers so that callers need no SDL header.
#pragma once

#include <cstdint>

#include "platform/keys.h"

namespace pavona::platform::sdl {

// The code a key-down event reports for every key. Letters and digits follow the keyboard
// layout (the keycode), with the key's position as fallback on layouts without Latin letters;
// other keys go by position. Keypad keys give digits with Num Lock on and navigation keys with it
// off. A key without a virtual-key code gives 0xFF.
TVirtualKey VirtualKeyOf(std::int32_t scancode, std::int32_t keycode, bool numLock);

// SDL's modifier bits (KMOD_*) as a shift state.
TShiftState ShiftStateOfModifiers(std::uint32_t modifiers);

}  // namespace pavona::platform::sdl
