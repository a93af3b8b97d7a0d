#pragma once

#include <array>
#include <functional>

#include "Platform/Keyboard.h"

// A keyboard whose keys the test holds and releases. on_query, when set, is called for every
// is_down query (so a test can act "during a frame").
class ScriptedKeyboard : public Keyboard {
  public:
    void press(int32_t vk) {
        if (!down_[vk])
            pressed_[vk] = true;
        down_[vk] = true;
    }
    void release(int32_t vk) { down_[vk] = false; }

    bool is_down(int32_t vk) override {
        if (on_query)
            on_query(vk);
        return vk >= 0 && vk < 256 && down_[vk];
    }
    bool went_down(int32_t vk) override {
        if (vk < 0 || vk >= 256)
            return false;
        bool was = pressed_[vk];
        pressed_[vk] = false;
        return was;
    }

    std::function<void(int32_t)> on_query;

  private:
    std::array<bool, 256> down_{};
    std::array<bool, 256> pressed_{};
};
