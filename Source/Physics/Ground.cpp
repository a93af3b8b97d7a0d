#include "Physics/Ground.h"

#include <algorithm>
#include <cmath>
#include <utility>

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

namespace {

// The fraction of the move a + t (b - a), 0 <= t <= 1, at which the feet pass from on or above
// the segment's line to below it, or a negative number when they do not.
float crossing_time(const Segment& s, Vector2 a, Vector2 b) {
    if (!(s.start.x < s.end.x) || !s.usable())
        return -1.0f;
    const float dx = b.x - a.x;
    float t0 = 0.0f;
    float t1 = 1.0f;
    if (dx == 0.0f) {
        if (!s.spans(a.x))
            return -1.0f;
    } else {
        // The part of the move above the segment's x range.
        float ta = (s.start.x - a.x) / dx;
        float tb = (s.end.x - a.x) / dx;
        if (ta > tb)
            std::swap(ta, tb);
        t0 = std::max(t0, ta);
        t1 = std::min(t1, tb);
        if (!(t0 <= t1))
            return -1.0f;
    }
    // The line's height above the feet is linear in t over that part.
    auto height = [&](float t) {
        const float x = a.x + t * dx;
        return s.line_y(x) - (a.y + t * (b.y - a.y));
    };
    const float h0 = height(t0);
    const float h1 = height(t1);
    if (!(h0 <= 0.0f && h1 > 0.0f))
        return -1.0f;
    return t0 + (t1 - t0) * (-h0 / (h1 - h0));
}

}  // namespace

Crossing find_crossed_strip(const SegmentStripList& strips, Vector2 a, Vector2 b) {
    Crossing first;
    float first_t = 2.0f;
    for (const auto& strip : strips) {
        if (!strip->enabled) {
            continue;
        }
        for (const Segment& s : strip->segments) {
            const float t = crossing_time(s, a, b);
            // The earliest crossing wins; between equal ones, the first strip uploaded.
            if (t >= 0.0f && t < first_t) {
                first_t = t;
                const float x = a.x + t * (b.x - a.x);
                first = {strip.get(), {x, s.line_y(x)}};
            }
        }
    }
    return first;
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
        if (next == nullptr || !next->usable()) {
            return {{target.x + (leftwards ? -remaining : remaining), target.y}, true};
        }
        s = next;
    }
}
