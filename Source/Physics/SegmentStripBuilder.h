#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "Physics/SegmentStrip.h"

// The strip a script is laying out point by point, and the pen point where its next segment
// starts. The pen point outlives uploads and levels; only create_segment and add_segment move
// it.
class SegmentStripBuilder {
  public:
    // A new unfinished strip (replacing any), with the pen at (x, y).
    void create_segment(float x, float y);
    // A new unfinished strip with the code (replacing any) and its first segment; the pen stays.
    void create_segment_with_code(float x1, float y1, float x2, float y2, int32_t code);
    // A segment from the pen to (x, y), which becomes the pen. Nothing without an unfinished
    // strip or before the pen was ever set.
    void add_segment(float x, float y);
    // Hands the unfinished strip to the end of the list; nothing when there is none.
    void upload_segmentstrip(SegmentStripList& strips);
    // Drops the unfinished strip; the pen stays.
    void clear();

    // Extends the first strip of the list with the code from its last end point to (x, y);
    // nothing when no strip has the code or it has no segments. Unfinished strips are not seen.
    static void add_segment_with_code(const SegmentStripList& strips, float x, float y,
                                      int32_t code);

    const SegmentStrip* unfinished() const { return unfinished_.get(); }
    std::optional<Vector2> pen() const { return pen_; }

  private:
    std::unique_ptr<SegmentStrip> unfinished_;
    std::optional<Vector2> pen_;
};
