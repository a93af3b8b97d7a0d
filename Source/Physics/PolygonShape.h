#pragma once

#include <vector>

#include "Physics/Shape.h"
#include "Render/Vector2.h"

// A convex polygon, vertices counter-clockwise, with one unit outward normal per edge; normal i
// belongs to the edge from vertex i to vertex (i + 1) mod count. Convexity and winding are the
// author's responsibility; the collision tests rely on them.
class PolygonShape : public Shape {
  public:
    // Larger requests are cut down to this many vertices so a script cannot exhaust memory.
    static constexpr int32_t max_count = 65536;

    // count vertices and normals, all (0, 0). A count below 1 makes an empty polygon, which
    // touches nothing.
    explicit PolygonShape(int32_t count = 3);
    // count vertices on a circle of the radius, the first on the positive x axis.
    static std::unique_ptr<PolygonShape> regular(int32_t count, float radius);
    static std::unique_ptr<PolygonShape> box(float half_width, float half_height);
    // A script's number as a vertex count: truncated toward zero, 0 for NaN or anything below 1,
    // at most max_count.
    static int32_t count_from(float value);

    int32_t type() const override { return polygon_type; }
    std::unique_ptr<Shape> clone() const override;

    int32_t count() const { return static_cast<int32_t>(vertices_.size()); }
    const Vector2* vertices() const { return vertices_.data(); }
    const Vector2* normals() const { return normals_.data(); }
    Vector2 vertex(int32_t i) const { return vertices_[i]; }
    Vector2 normal(int32_t i) const { return normals_[i]; }

    // Moves vertex i and recomputes the normals of its two edges; other normals stay. An index
    // outside 0 .. count - 1 changes nothing and gives false.
    bool set_vertex(int32_t i, float x, float y);

  private:
    void compute_normal(int32_t edge);

    std::vector<Vector2> vertices_;
    std::vector<Vector2> normals_;
};
