#pragma once

#include "Render/Color.h"
#include "Render/Vector2.h"

// A remorfable sprite's target state at one point of its timeline (0..1).
struct KeyFrame {
    float time = 0.0f;
    Vector2 position{0, 0};
    Vector2 axis_x{1, 0};
    Vector2 axis_y{0, 1};
    Color colour{0, 0, 0, 0};
    float scale = 1.0f;
};
