#pragma once

// An axis-aligned box in world units, edges included.
struct Bounds {
    float left = 0.0f;
    float bottom = 0.0f;
    float right = 0.0f;
    float top = 0.0f;

    bool meets(const Bounds& o) const {
        return left <= o.right && o.left <= right && bottom <= o.top && o.bottom <= top;
    }
};
