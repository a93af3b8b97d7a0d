#include "Physics/CircleShape.h"

std::unique_ptr<Shape> CircleShape::clone() const {
    return std::make_unique<CircleShape>(*this);
}
