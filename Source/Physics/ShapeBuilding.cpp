#include "Physics/ShapeBuilding.h"

#include "Physics/CircleShape.h"
#include "Physics/PolygonShape.h"

std::unique_ptr<Shape> make_shape(int32_t kind, float a, float b) {
    switch (kind) {
        case 0:
            return std::make_unique<PolygonShape>(3);
        case 1:
            return std::make_unique<PolygonShape>(PolygonShape::count_from(a));
        case 2:
            return PolygonShape::regular(PolygonShape::count_from(a), b);
        case 3:
            return PolygonShape::box(a, b);
        default:
            return nullptr;
    }
}

std::unique_ptr<Shape> make_circle(float x, float y, float radius) {
    return std::make_unique<CircleShape>(x, y, radius);
}

void set_shape_vertex(Shape* shape, int32_t index, float x, float y) {
    if (shape != nullptr && shape->type() == Shape::polygon_type) {
        static_cast<PolygonShape*>(shape)->set_vertex(index, x, y);
    }
}

void set_circle_center(Shape* shape, float x, float y) {
    if (shape != nullptr && shape->type() == Shape::circle_type) {
        static_cast<CircleShape*>(shape)->center = {x, y};
    }
}

void set_circle_radius(Shape* shape, float radius) {
    if (shape != nullptr && shape->type() == Shape::circle_type) {
        static_cast<CircleShape*>(shape)->radius = radius;
    }
}
