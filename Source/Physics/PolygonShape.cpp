#include "Physics/PolygonShape.h"

#include <cmath>

PolygonShape::PolygonShape(int32_t count) {
    if (count > max_count) {
        count = max_count;
    }
    if (count > 0) {
        vertices_.assign(count, Vector2{0.0f, 0.0f});
        normals_.assign(count, Vector2{0.0f, 0.0f});
    }
}

std::unique_ptr<PolygonShape> PolygonShape::regular(int32_t count, float radius) {
    auto polygon = std::make_unique<PolygonShape>(count);
    int32_t n = polygon->count();
    if (n == 0) {
        return polygon;
    }
    // The angle is accumulated step by step, so the last vertices carry its rounding.
    const float step = 8.0f * std::atan(1.0f) / static_cast<float>(n);
    float angle = 0.0f;
    for (int32_t i = 0; i < n; ++i) {
        polygon->vertices_[i] = {radius * std::cos(angle), radius * std::sin(angle)};
        angle += step;
    }
    for (int32_t i = 0; i < n; ++i) {
        polygon->compute_normal(i);
    }
    return polygon;
}

std::unique_ptr<PolygonShape> PolygonShape::box(float half_width, float half_height) {
    auto polygon = std::make_unique<PolygonShape>(4);
    polygon->vertices_ = {{-half_width, -half_height},
                          {half_width, -half_height},
                          {half_width, half_height},
                          {-half_width, half_height}};
    polygon->normals_ = {{0.0f, -1.0f}, {1.0f, 0.0f}, {0.0f, 1.0f}, {-1.0f, 0.0f}};
    return polygon;
}

int32_t PolygonShape::count_from(float value) {
    if (!(value >= 1.0f)) {
        return 0;
    }
    if (value >= static_cast<float>(max_count)) {
        return max_count;
    }
    return static_cast<int32_t>(value);
}

std::unique_ptr<Shape> PolygonShape::clone() const {
    return std::make_unique<PolygonShape>(*this);
}

bool PolygonShape::set_vertex(int32_t i, float x, float y) {
    int32_t n = count();
    if (i < 0 || i >= n) {
        return false;
    }
    vertices_[i] = {x, y};
    compute_normal(i == 0 ? n - 1 : i - 1);
    compute_normal(i);
    return true;
}

void PolygonShape::compute_normal(int32_t edge) {
    // A zero-length edge gives a non-finite normal; the collision tests treat such an edge as
    // separating, so a degenerate polygon touches nothing.
    Vector2 e = vertices_[(edge + 1) % count()] - vertices_[edge];
    float length = std::sqrt(dot(e, e));
    normals_[edge] = {e.y / length, -e.x / length};
}
