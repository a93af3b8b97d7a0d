#pragma once

#include <array>
#include <cstdint>

#include "Render/Vector2.h"

struct ContactPoint {
    Vector2 point;       // world units
    float depth = 0.0f;  // penetration depth in world units
};

// The result of collide: the normal points from the first shape towards the second; only the
// first count contacts are meaningful, and count 0 means no contact.
struct Manifold {
    Vector2 normal;
    std::array<ContactPoint, 2> contacts{};
    int32_t count = 0;
};
