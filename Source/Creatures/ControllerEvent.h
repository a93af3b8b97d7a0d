#pragma once

#include <cstdint>

// Commands a character controller reports; the player and the menu give them their meaning.
namespace command {
constexpr int32_t left = 0, right = 1, up = 2, down = 3, action = 4;
}

// One change of a command's key: value is true when the key went down, false when it went up.
struct ControllerEvent {
    int32_t command = 0;
    bool value = false;
    bool operator==(const ControllerEvent&) const = default;
};
