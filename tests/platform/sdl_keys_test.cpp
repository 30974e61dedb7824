#include "platform/sdl/sdl_keys.h"

#include <gtest/gtest.h>

namespace pavona::platform::sdl {
namespace {

// Scancodes are USB usage numbers; keycodes of keys without a character are scancode | 1 << 30.
constexpr std::int32_t NoChar(std::int32_t scancode) { return scancode | (1 << 30); }

struct KeyCase {
  std::int32_t scancode;
  std::int32_t keycode;
  bool numLock;
  TVirtualKey expected;
};

TEST(SdlKeys, MapToVirtualKeyCodes) {
  const KeyCase cases[] = {
      {4, 'a', false, 'A'},             // A
      {20, 'a', false, 'A'},            // the A of a French layout sits where Q is
      {4, 0x444, false, 'A'},           // a Cyrillic layout: the key's position decides
      {30, '&', false, '1'},            // French digit row without Shift
      {39, '0', false, '0'},
      {40, '\r', false, vk::Return},
      {88, NoChar(88), false, vk::Return},  // keypad Enter
      {41, 27, false, vk::Escape},
      {42, 8, false, vk::Back},
      {43, 9, false, vk::Tab},
      {44, ' ', false, vk::Space},
      {79, NoChar(79), false, vk::Right},
      {80, NoChar(80), false, vk::Left},
      {81, NoChar(81), false, vk::Down},
      {82, NoChar(82), false, vk::Up},
      {58, NoChar(58), false, vk::F1},
      {69, NoChar(69), false, 0x7B},    // F12
      {104, NoChar(104), false, 0x7C},  // F13
      {89, NoChar(89), true, 0x61},     // keypad 1 with Num Lock
      {89, NoChar(89), false, vk::End},
      {99, NoChar(99), true, vk::Decimal},
      {99, NoChar(99), false, vk::Delete},
      {224, NoChar(224), false, vk::Control},
      {229, NoChar(229), false, vk::Shift},
      {230, NoChar(230), false, vk::Menu},
      {45, '-', false, vk::OemMinus},
      {100, '<', false, vk::Oem102},
      {135, NoChar(135), false, 0xFF},  // no virtual-key code
  };
  for (const KeyCase& c : cases) {
    EXPECT_EQ(VirtualKeyOf(c.scancode, c.keycode, c.numLock), c.expected)
        << "scancode " << c.scancode << " keycode " << c.keycode;
  }
}

TEST(SdlKeys, ModifiersBecomeShiftState) {
  EXPECT_EQ(ShiftStateOfModifiers(0), 0);
  EXPECT_EQ(ShiftStateOfModifiers(0x0001 | 0x0040 | 0x0200), ssShift | ssCtrl | ssAlt);
  EXPECT_EQ(ShiftStateOfModifiers(0x1000 | 0x2000), 0);  // Num Lock and Caps Lock are no modifiers
}

}  // namespace
}  // namespace pavona::platform::sdl
