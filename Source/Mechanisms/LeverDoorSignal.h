#pragma once

#include <cstdint>

// One wire from a lever to a door: when the lever is used while in lever_state, the door opens
// (open true) or closes.
struct LeverDoorSignal {
    int32_t lever_id = 0;
    bool lever_state = false;
    int32_t door_id = 0;
    bool open = false;
};
