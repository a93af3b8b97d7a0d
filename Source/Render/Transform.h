#pragma once

#include <cmath>

#include "Render/Vector2.h"

// Placement of a drawable, shape or body: rotation as two axes, a uniform scale, then position.
struct Transform {
    Vector2 position{0.0f, 0.0f};
    Vector2 axis_x{1.0f, 0.0f};
    Vector2 axis_y{0.0f, 1.0f};
    float scale = 1.0f;

    void set_rotation(float angle) {
        float c = std::cos(angle), s = std::sin(angle);
        axis_x = {c, s};
        axis_y = {-s, c};
    }
    // Local point to world.
    Vector2 apply(Vector2 p) const { return position + (axis_x * p.x + axis_y * p.y) * scale; }
    // Rotation only, no scale or translation.
    Vector2 rotate(Vector2 v) const { return axis_x * v.x + axis_y * v.y; }
    // Inverse rotation: the transposed axes.
    Vector2 unrotate(Vector2 v) const { return {dot(v, axis_x), dot(v, axis_y)}; }
};
