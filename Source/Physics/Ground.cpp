#include "Physics/Ground.h"

#include <cmath>

SegmentStrip* find_landing_strip(const SegmentStripList& strips, Vector2 p) {
    for (const auto& strip : strips) {
        if (!strip->enabled) {
            continue;
        }
        const Segment* s = strip->segment_at(p.x);
        if (s == nullptr) {
            continue;
        }
        float h = s->line_y(p.x) - p.y;
        if (0.0f < h && h < s->catch_depth) {
            return strip.get();
        }
    }
    return nullptr;
}

SegmentStrip* find_strip_with_code(const SegmentStripList& strips, int32_t code) {
    for (const auto& strip : strips) {
        if (strip->code == code) {
            return strip.get();
        }
    }
    return nullptr;
}

WalkResult walk_along(const SegmentStrip& strip, Vector2 p, float distance) {
    const Segment* s = strip.segment_at(p.x);
    if (s == nullptr) {
        return {p, true};
    }
    // The direction is kept apart from the remaining distance, whose sign is lost when it
    // reaches zero exactly.
    const bool leftwards = distance < 0.0f;
    float remaining = std::fabs(distance);
    Vector2 q = p;
    for (;;) {
        Vector2 target = leftwards ? s->start : s->end;
        Vector2 to_target = target - q;
        float d = std::sqrt(dot(to_target, to_target));
        if (d > 0.0f) {
            Vector2 v{remaining * to_target.x / d, remaining * to_target.y / d};
            if (std::sqrt(dot(v, v)) <= d) {
                // The move ends on this segment; the height comes from its line, which also
                // lifts a body caught a little below it. A segment without width has no line
                // height, so the point reached along it stands.
                float x = q.x + v.x;
                float y = s->end.x != s->start.x ? s->line_y(x) : q.y + v.y;
                return {{x, y}, false};
            }
            remaining -= d;
        }
        q = target;
        const Segment* next = strip.next_segment(s, leftwards ? -1.0f : 1.0f);
        if (next == nullptr) {
            return {{target.x + (leftwards ? -remaining : remaining), target.y}, true};
        }
        s = next;
    }
}
