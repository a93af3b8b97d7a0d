#include "Physics/SegmentStrip.h"

void SegmentStrip::append_segment(Vector2 a, Vector2 b) {
    segments.push_back(Segment{a, b});
}

const Segment* SegmentStrip::segment_at(float x) const {
    for (const Segment& s : segments) {
        if (s.spans(x)) {
            return &s;
        }
    }
    return nullptr;
}

const Segment* SegmentStrip::next_segment(const Segment* s, float direction) const {
    if (segments.empty() || s < segments.data() || s >= segments.data() + segments.size()) {
        return nullptr;
    }
    size_t i = static_cast<size_t>(s - segments.data());
    if (direction >= 0.0f) {
        return i + 1 < segments.size() ? &segments[i + 1] : nullptr;
    }
    return i > 0 ? &segments[i - 1] : nullptr;
}
