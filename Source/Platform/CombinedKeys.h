#pragma once

#include "Platform/Keyboard.h"

// The keyboard and the game controllers as one set of keys: a key is down while the keyboard
// or any pad holds it, and each press of either counts once as having gone down.
class CombinedKeys : public Keyboard {
  public:
    bool is_down(int32_t vk) override;
    bool went_down(int32_t vk) override;
};
