#pragma once

#include "Physics/Shape.h"
#include "Render/Vector2.h"

class CircleShape : public Shape {
  public:
    CircleShape() = default;
    CircleShape(float x, float y, float radius_) : center(x, y), radius(radius_) {}

    int32_t type() const override { return circle_type; }
    std::unique_ptr<Shape> clone() const override;

    Vector2 center;
    float radius = 0.0f;
};
