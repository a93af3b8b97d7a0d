#include <gtest/gtest.h>

#include <cmath>

#include "Physics/CircleShape.h"
#include "Physics/Collision.h"
#include "Physics/PolygonShape.h"
#include "Physics/ShapeBuilding.h"
#include "PhysicsTestSupport.h"

namespace {

using physics_test::expect_near;

std::vector<Vector2> vertices_of(const PolygonShape& p) {
    return {p.vertices(), p.vertices() + p.count()};
}
std::vector<Vector2> normals_of(const PolygonShape& p) {
    return {p.normals(), p.normals() + p.count()};
}

TEST(ShapeTest, NewPolygonHasItsCountOfZeroVerticesAndNormals) {
    for (int32_t count : {1, 3, 7}) {
        PolygonShape p(count);
        EXPECT_EQ(p.type(), Shape::polygon_type);
        ASSERT_EQ(p.count(), count);
        for (int32_t i = 0; i < count; ++i) {
            EXPECT_EQ(p.vertex(i), Vector2(0, 0));
            EXPECT_EQ(p.normal(i), Vector2(0, 0));
        }
    }
    EXPECT_EQ(PolygonShape().count(), 3);
}

TEST(ShapeTest, BoxHasCounterClockwiseCornersAndAxisNormals) {
    auto box = PolygonShape::box(2.0f, 3.0f);
    EXPECT_EQ(vertices_of(*box), (std::vector<Vector2>{{-2, -3}, {2, -3}, {2, 3}, {-2, 3}}));
    EXPECT_EQ(normals_of(*box), (std::vector<Vector2>{{0, -1}, {1, 0}, {0, 1}, {-1, 0}}));
}

TEST(ShapeTest, RegularSquareHasVerticesAtQuarterTurns) {
    auto p = PolygonShape::regular(4, 1.0f);
    ASSERT_EQ(p->count(), 4);
    expect_near(p->vertex(0), {1, 0});
    expect_near(p->vertex(1), {0, 1});
    expect_near(p->vertex(2), {-1, 0});
    expect_near(p->vertex(3), {0, -1});
    const float h = std::sqrt(0.5f);
    expect_near(p->normal(0), {h, h});
    expect_near(p->normal(1), {-h, h});
    expect_near(p->normal(2), {-h, -h});
    expect_near(p->normal(3), {h, -h});
}

TEST(ShapeTest, RegularPolygonAccumulatesItsAngleInSinglePrecision) {
    // The angle is summed step by step in float, so vertex i matches that sum, not i * step.
    const int32_t n = 7;
    const float radius = 3.0f;
    auto p = PolygonShape::regular(n, radius);
    const float step = 8.0f * std::atan(1.0f) / n;
    float angle = 0.0f;
    for (int32_t i = 0; i < n; ++i) {
        EXPECT_EQ(p->vertex(i), Vector2(radius * std::cos(angle), radius * std::sin(angle)));
        angle += step;
    }
    for (int32_t i = 0; i < n; ++i) {
        Vector2 e = p->vertex((i + 1) % n) - p->vertex(i);
        float len = std::sqrt(dot(e, e));
        EXPECT_EQ(p->normal(i), Vector2(e.y / len, -e.x / len)) << i;
    }
}

TEST(ShapeTest, SetVertexZeroRecomputesTheLastEdgeAndEdgeZeroOnly) {
    PolygonShape p(4);
    ASSERT_TRUE(p.set_vertex(1, 1.0f, -1.0f));
    ASSERT_TRUE(p.set_vertex(2, 1.0f, 1.0f));
    ASSERT_TRUE(p.set_vertex(3, -1.0f, 1.0f));
    Vector2 edge1 = p.normal(1), edge2 = p.normal(2);
    p.set_vertex(0, -2.0f, -1.0f);
    // Edge 3 runs from (-1, 1) to (-2, -1), edge 0 from (-2, -1) to (1, -1).
    expect_near(p.normal(3), Vector2(-2.0f, 1.0f) * (1.0f / std::sqrt(5.0f)));
    expect_near(p.normal(0), {0, -1});
    EXPECT_EQ(p.normal(1), edge1);
    EXPECT_EQ(p.normal(2), edge2);
}

TEST(ShapeTest, SetVertexLeavesOtherEdgesStale) {
    PolygonShape p(4);
    p.set_vertex(2, 5.0f, 5.0f);
    // Edges 1 and 2 touch vertex 2; edges 0 and 3 still have their initial zero normals.
    expect_near(p.normal(1), Vector2(1.0f, -1.0f) * std::sqrt(0.5f));
    expect_near(p.normal(2), Vector2(-1.0f, 1.0f) * std::sqrt(0.5f));
    EXPECT_EQ(p.normal(0), Vector2(0, 0));
    EXPECT_EQ(p.normal(3), Vector2(0, 0));
}

TEST(ShapeTest, SetVertexOutsideTheRangeChangesNothing) {
    auto box = PolygonShape::box(1.0f, 1.0f);
    auto vertices = vertices_of(*box);
    auto normals = normals_of(*box);
    for (int32_t index : {-1, 4, 1000, INT32_MIN, INT32_MAX}) {
        EXPECT_FALSE(box->set_vertex(index, 9.0f, 9.0f));
    }
    EXPECT_EQ(vertices_of(*box), vertices);
    EXPECT_EQ(normals_of(*box), normals);
}

TEST(ShapeTest, ClonesAreDeepCopiesOfTheSameKind) {
    auto box = PolygonShape::box(1.0f, 2.0f);
    auto copy = box->clone();
    ASSERT_EQ(copy->type(), Shape::polygon_type);
    auto& polygon = static_cast<PolygonShape&>(*copy);
    EXPECT_EQ(vertices_of(polygon), vertices_of(*box));
    EXPECT_EQ(normals_of(polygon), normals_of(*box));
    polygon.set_vertex(0, -5.0f, -5.0f);
    EXPECT_EQ(box->vertex(0), Vector2(-1, -2));
    EXPECT_EQ(box->normal(3), Vector2(-1, 0));

    CircleShape circle(1.0f, 2.0f, 3.0f);
    auto circle_copy = circle.clone();
    ASSERT_EQ(circle_copy->type(), Shape::circle_type);
    auto& c = static_cast<CircleShape&>(*circle_copy);
    EXPECT_EQ(c.center, Vector2(1, 2));
    EXPECT_EQ(c.radius, 3.0f);
    c.radius = 7.0f;
    EXPECT_EQ(circle.radius, 3.0f);
}

TEST(ShapeTest, MakeShapeBuildsEachKind) {
    auto triangle = make_shape(0, 9.0f, 9.0f);
    ASSERT_EQ(triangle->type(), Shape::polygon_type);
    EXPECT_EQ(static_cast<PolygonShape&>(*triangle).count(), 3);
    EXPECT_EQ(static_cast<PolygonShape&>(*triangle).vertex(2), Vector2(0, 0));

    auto five = make_shape(1, 5.9f, 9.0f);  // truncated toward zero
    ASSERT_EQ(five->type(), Shape::polygon_type);
    EXPECT_EQ(static_cast<PolygonShape&>(*five).count(), 5);
    EXPECT_EQ(static_cast<PolygonShape&>(*five).vertex(4), Vector2(0, 0));

    auto hexagon = make_shape(2, 6.5f, 2.0f);
    ASSERT_EQ(hexagon->type(), Shape::polygon_type);
    auto& h = static_cast<PolygonShape&>(*hexagon);
    EXPECT_EQ(h.count(), 6);
    EXPECT_EQ(h.vertex(0), Vector2(2, 0));
    expect_near(h.vertex(3), {-2, 0}, 1e-5f);

    auto box = make_shape(3, 4.0f, 0.5f);
    ASSERT_EQ(box->type(), Shape::polygon_type);
    EXPECT_EQ(static_cast<PolygonShape&>(*box).vertex(2), Vector2(4, 0.5f));

    EXPECT_EQ(make_shape(4, 1.0f, 1.0f), nullptr);
    EXPECT_EQ(make_shape(-1, 1.0f, 1.0f), nullptr);

    auto circle = make_circle(1.0f, -2.0f, 3.0f);
    ASSERT_EQ(circle->type(), Shape::circle_type);
    EXPECT_EQ(static_cast<CircleShape&>(*circle).center, Vector2(1, -2));
    EXPECT_EQ(static_cast<CircleShape&>(*circle).radius, 3.0f);
}

TEST(ShapeTest, VertexCountsBelowOneGiveAnEmptyPolygonAndHugeOnesAreCapped) {
    struct Case {
        float value;
        int32_t count;
    };
    const Case cases[] = {{0.0f, 0},         {0.99f, 0},        {-3.0f, 0},       {NAN, 0},
                          {-INFINITY, 0},    {1.0f, 1},         {2.5f, 2},        {1e30f, 65536},
                          {INFINITY, 65536}, {65536.0f, 65536}, {65535.9f, 65535}};
    for (const Case& c : cases) {
        EXPECT_EQ(PolygonShape::count_from(c.value), c.count) << c.value;
    }
    for (int32_t kind : {1, 2}) {
        auto empty = make_shape(kind, 0.0f, 1.0f);
        ASSERT_NE(empty, nullptr);
        EXPECT_EQ(static_cast<PolygonShape&>(*empty).count(), 0);
    }
    EXPECT_EQ(PolygonShape(-5).count(), 0);
    EXPECT_EQ(PolygonShape(INT32_MAX).count(), PolygonShape::max_count);
}

TEST(ShapeTest, EditingCallsOnlyTouchShapesOfTheirKind) {
    auto circle = make_circle(1.0f, 2.0f, 3.0f);
    set_shape_vertex(circle.get(), 0, 9.0f, 9.0f);
    EXPECT_EQ(static_cast<CircleShape&>(*circle).center, Vector2(1, 2));
    EXPECT_EQ(static_cast<CircleShape&>(*circle).radius, 3.0f);
    set_circle_center(circle.get(), -4.0f, 5.0f);
    set_circle_radius(circle.get(), 6.0f);
    EXPECT_EQ(static_cast<CircleShape&>(*circle).center, Vector2(-4, 5));
    EXPECT_EQ(static_cast<CircleShape&>(*circle).radius, 6.0f);

    auto box = make_shape(3, 1.0f, 1.0f);
    auto& polygon = static_cast<PolygonShape&>(*box);
    auto vertices = vertices_of(polygon);
    set_circle_center(box.get(), 9.0f, 9.0f);
    set_circle_radius(box.get(), 9.0f);
    set_shape_vertex(box.get(), 4, 9.0f, 9.0f);
    set_shape_vertex(box.get(), -1, 9.0f, 9.0f);
    EXPECT_EQ(vertices_of(polygon), vertices);
    set_shape_vertex(box.get(), 1, 2.0f, -1.0f);
    EXPECT_EQ(polygon.vertex(1), Vector2(2, -1));

    auto empty = make_shape(1, 0.0f, 0.0f);
    set_shape_vertex(empty.get(), 0, 1.0f, 1.0f);
    EXPECT_EQ(static_cast<PolygonShape&>(*empty).count(), 0);

    set_shape_vertex(nullptr, 0, 1.0f, 1.0f);
    set_circle_center(nullptr, 1.0f, 1.0f);
    set_circle_radius(nullptr, 1.0f);
}

TEST(ShapeTest, BoundingRadiusIgnoresCentreOffsetButEnclosingRadiusHoldsIt) {
    CircleShape circle(3.0f, 4.0f, 2.0f);
    EXPECT_EQ(bounding_radius(circle), 2.0f);
    EXPECT_EQ(enclosing_radius(circle), 7.0f);

    auto box = PolygonShape::box(3.0f, 4.0f);
    EXPECT_EQ(bounding_radius(*box), 5.0f);
    EXPECT_EQ(enclosing_radius(*box), 5.0f);

    PolygonShape off_centre(3);
    off_centre.set_vertex(0, 1.0f, 0.0f);
    off_centre.set_vertex(1, 6.0f, 8.0f);
    off_centre.set_vertex(2, 0.0f, 2.0f);
    EXPECT_EQ(bounding_radius(off_centre), 10.0f);

    EXPECT_EQ(bounding_radius(PolygonShape(0)), 0.0f);
}

}  // namespace
