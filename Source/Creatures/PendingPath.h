#pragma once

#include <cstdint>
#include <vector>

#include "Render/Vector2.h"

// The path scripts lay out point by point; each AI made from it takes a copy.
struct PendingPath {
    std::vector<Vector2> waypoints;
    int32_t index = 0;
    bool loop = false;
    int32_t step = 1;
};
