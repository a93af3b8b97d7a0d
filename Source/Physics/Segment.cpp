#include "Physics/Segment.h"

#include <cmath>

float Segment::line_y(float x) const {
    return start.y + (end.y - start.y) / (end.x - start.x) * (x - start.x);
}

bool Segment::usable() const {
    // A vertical riser has no line height and is walked along as it stands.
    return std::isfinite(start.x) && std::isfinite(start.y) && std::isfinite(end.x) &&
           std::isfinite(end.y) &&
           (start.x == end.x || std::isfinite((end.y - start.y) / (end.x - start.x)));
}
