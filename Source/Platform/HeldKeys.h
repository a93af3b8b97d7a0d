#pragma once

#include <array>

#include "Platform/Keyboard.h"
#include "Platform/VirtualKeys.h"

// A keyboard whose keys the program holds and releases (the headless runner's key timeline).
class HeldKeys : public Keyboard {
  public:
    // Holds or releases a key; codes outside 0..255 are ignored. Holding a released key counts
    // as a press for went_down.
    void set(int32_t vk, bool down);

    bool is_down(int32_t vk) override;
    bool went_down(int32_t vk) override;

  private:
    std::array<bool, VirtualKeys::count> down_{};
    std::array<bool, VirtualKeys::count> pressed_{};
};
