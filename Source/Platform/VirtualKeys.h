#pragma once

#include <array>
#include <cstdint>

// Windows virtual-key codes the engine and scripts use by number.
namespace vk {
constexpr int32_t back = 0x08, tab = 0x09, enter = 0x0D, shift = 0x10, control = 0x11, alt = 0x12,
                  pause = 0x13, caps_lock = 0x14, escape = 0x1B, space = 0x20, page_up = 0x21,
                  page_down = 0x22, end = 0x23, home = 0x24, left = 0x25, up = 0x26, right = 0x27,
                  down = 0x28, insert = 0x2D, del = 0x2E, numpad0 = 0x60, f1 = 0x70,
                  left_shift = 0xA0, right_shift = 0xA1, left_control = 0xA2, right_control = 0xA3,
                  left_alt = 0xA4, right_alt = 0xA5;
}

// Maps a virtual-key code to the SDL scancodes that stand for it (at most two: a key without
// side, such as shift, stands for both its left and right keys).
class VirtualKeys {
  public:
    static constexpr int count = 256;
    // Scancodes for vk; zeros where none. Codes outside 0..255 have none.
    static std::array<int32_t, 2> scancodes(int32_t vk);
};
