#pragma once

#include "Render/Vector2.h"

// One straight piece of ground, meant to run from left to right; only such segments are ever
// found under a point.
struct Segment {
    Vector2 start;
    Vector2 end;
    float catch_depth = 10.0f;  // how far below the line a falling body is still caught

    // The height of the segment's line at x, also outside the segment's x range.
    float line_y(float x) const;
    // True when start.x <= x < end.x on a segment that can carry feet.
    bool spans(float x) const { return start.x <= x && x < end.x && usable(); }
    // False for a segment whose ends are not numbers, or that is so steep that its slope
    // overflows: such a segment is no ground.
    bool usable() const;
};
