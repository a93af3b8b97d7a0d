#include "Physics/SegmentStripBuilder.h"

#include "Physics/Ground.h"

void SegmentStripBuilder::create_segment(float x, float y) {
    unfinished_ = std::make_unique<SegmentStrip>();
    pen_ = Vector2{x, y};
}

void SegmentStripBuilder::create_segment_with_code(float x1, float y1, float x2, float y2,
                                                   int32_t code) {
    unfinished_ = std::make_unique<SegmentStrip>(code);
    unfinished_->append_segment({x1, y1}, {x2, y2});
}

void SegmentStripBuilder::add_segment(float x, float y) {
    if (!unfinished_ || !pen_) {
        return;
    }
    unfinished_->append_segment(*pen_, {x, y});
    pen_ = Vector2{x, y};
}

void SegmentStripBuilder::upload_segmentstrip(SegmentStripList& strips) {
    if (unfinished_) {
        strips.push_back(std::move(unfinished_));
    }
}

void SegmentStripBuilder::clear() {
    unfinished_.reset();
}

void SegmentStripBuilder::add_segment_with_code(const SegmentStripList& strips, float x, float y,
                                                int32_t code) {
    SegmentStrip* strip = find_strip_with_code(strips, code);
    if (strip == nullptr || strip->segments.empty()) {
        return;
    }
    strip->append_segment(strip->segments.back().end, {x, y});
}
