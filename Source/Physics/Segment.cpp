#include "Physics/Segment.h"

float Segment::line_y(float x) const {
    return start.y + (end.y - start.y) / (end.x - start.x) * (x - start.x);
}
