#pragma once

#include <cstdint>

// A key bound to a command. key_code 0 stands for a name no key carries: it is never down.
struct KeyBinding {
    int32_t command = 0;
    int32_t key_code = 0;
    // The key was down at the last poll that looked at it.
    bool held = false;
};
