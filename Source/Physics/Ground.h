#pragma once

#include <cstdint>

#include "Physics/SegmentStrip.h"

// How creature bodies meet the level's segment strips: a body is a point at its feet.

// The first enabled strip whose segment under p.x has its line strictly above the feet and
// less than the catch depth above them, or null.
SegmentStrip* find_landing_strip(const SegmentStripList& strips, Vector2 p);

// Where a falling body's feet, moving from a to b within one step, first pass from on or above
// a strip's line to below it. Catches falls too fast for the catch depth.
struct Crossing {
    SegmentStrip* strip = nullptr;  // null when no enabled strip is crossed
    Vector2 point;                  // on the crossed segment's line
};
Crossing find_crossed_strip(const SegmentStripList& strips, Vector2 a, Vector2 b);

// The first strip with the code, or null.
SegmentStrip* find_strip_with_code(const SegmentStripList& strips, int32_t code);

struct WalkResult {
    Vector2 position;
    bool fell = false;  // the move ran off the strip (or started off it)
};

// Moves the feet a signed distance along the strip (positive towards the end of its list) and
// puts them on the line of the segment they end on. Past an end of the strip the rest of the
// move is made horizontally and the body falls.
WalkResult walk_along(const SegmentStrip& strip, Vector2 p, float distance);
