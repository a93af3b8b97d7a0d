#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "Core/Tracked.h"
#include "Physics/Segment.h"
#include "Render/Color.h"

// A polyline of ground segments; normally each segment starts where the previous one ends.
// Tracked: the bodies standing on a strip refer to it and let go when its level is destroyed.
class SegmentStrip : public Tracked {
  public:
    SegmentStrip() = default;
    explicit SegmentStrip(int32_t code_) : code(code_) {}

    void append_segment(Vector2 a, Vector2 b);
    // The first segment with start.x <= x < end.x, or null.
    const Segment* segment_at(float x) const;
    // The segment after s (direction >= 0) or before it (direction < 0); null past either end
    // or when s is not one of this strip's segments.
    const Segment* next_segment(const Segment* s, float direction) const;

    std::vector<Segment> segments;
    int32_t code = 0;
    bool enabled = true;  // a disabled strip catches nothing and drops the bodies on it
    Color color{0.5f, 0.0f, 0.0f, 1.0f};
};

// The level's strips in the order they were uploaded.
using SegmentStripList = std::vector<std::unique_ptr<SegmentStrip>>;
