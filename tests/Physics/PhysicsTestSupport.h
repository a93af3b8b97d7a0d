#pragma once

#include <gtest/gtest.h>

#include <ostream>

#include "Render/Transform.h"
#include "Render/Vector2.h"

inline void PrintTo(const Vector2& v, std::ostream* os) {
    *os << "(" << v.x << ", " << v.y << ")";
}

namespace physics_test {

inline Transform at(float x, float y, float scale = 1.0f) {
    Transform t;
    t.position = {x, y};
    t.scale = scale;
    return t;
}

inline void expect_near(Vector2 actual, Vector2 expected, float tolerance = 1e-6f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
}

}  // namespace physics_test
