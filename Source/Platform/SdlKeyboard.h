#pragma once

#include <array>

#include "Platform/Keyboard.h"
#include "Platform/VirtualKeys.h"

// The real keyboard: SDL's key state for "down now", key-down events for "went down".
class SdlKeyboard : public Keyboard {
  public:
    static SdlKeyboard& instance();

    bool is_down(int32_t vk) override;
    bool went_down(int32_t vk) override;

    // Called by the event pump for every key-down event that is not a repeat.
    void key_pressed(int32_t scancode);

  private:
    std::array<bool, VirtualKeys::count> pressed_{};
};
