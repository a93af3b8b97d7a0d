#include <gtest/gtest.h>

#include <cmath>

#include "Physics/CircleShape.h"
#include "Physics/Collision.h"
#include "Physics/PolygonShape.h"
#include "PhysicsTestSupport.h"

namespace {

using physics_test::at;
using physics_test::expect_near;

// Neither order finds an overlap or a contact.
void expect_apart(const Shape& a, const Transform& xa, const Shape& b, const Transform& xb) {
    EXPECT_FALSE(overlaps(a, xa, b, xb));
    EXPECT_FALSE(overlaps(b, xb, a, xa));
    EXPECT_EQ(collide(a, xa, b, xb).count, 0);
    EXPECT_EQ(collide(b, xb, a, xa).count, 0);
}

// The collision found exactly one contact, with this normal, point and depth.
::testing::AssertionResult one_contact(const Manifold& m, Vector2 normal, Vector2 point,
                                       float depth) {
    if (m.count != 1)
        return ::testing::AssertionFailure() << m.count << " contacts";
    const ContactPoint& c = m.contacts[0];
    if (m.normal == normal && c.point == point && c.depth == depth)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "normal (" << m.normal.x << ", " << m.normal.y << "), point (" << c.point.x << ", "
           << c.point.y << "), depth " << c.depth;
}

TEST(CollisionTest, TouchingCirclesNeitherOverlapNorCollide) {
    struct Case {
        float ra, rb, scale_a;
        Vector2 pb;
    };
    const Case cases[] = {
        {1.0f, 2.0f, 1.0f, {3.0f, 0.0f}},
        {1.0f, 2.0f, 1.0f, {0.0f, -3.0f}},
        {3.0f, 2.0f, 1.0f, {3.0f, 4.0f}},
        {0.5f, 2.0f, 2.0f, {0.0f, 3.0f}},  // radius scaled to 1
    };
    for (const Case& c : cases) {
        CircleShape a(0.0f, 0.0f, c.ra), b(0.0f, 0.0f, c.rb);
        expect_apart(a, at(0.0f, 0.0f, c.scale_a), b, at(c.pb.x, c.pb.y));
    }
}

TEST(CollisionTest, OverlappingCirclesMeetHalfwayBetweenTheirSurfaces) {
    CircleShape a(0.0f, 0.0f, 2.0f), b(0.0f, 0.0f, 2.0f);
    ASSERT_TRUE(overlaps(a, at(0, 0), b, at(3, 0)));
    Manifold m = collide(a, at(0, 0), b, at(3, 0));
    EXPECT_TRUE(one_contact(m, {1, 0}, {1.5f, 0}, 1.0f));

    // Centres off the shapes' origins and a scaled first circle.
    CircleShape c(1.0f, 0.0f, 1.0f), d(0.0f, 1.0f, 1.0f);
    m = collide(c, at(-1.0f, 0.0f, 2.0f), d, at(3.5f, -1.0f));
    EXPECT_TRUE(one_contact(m, {1, 0}, {2.75f, 0}, 0.5f));
}

TEST(CollisionTest, ConcentricCirclesPartAlongX) {
    CircleShape a(0.0f, 0.0f, 1.0f), b(0.0f, 0.0f, 2.0f);
    EXPECT_TRUE(overlaps(a, at(5, 5), b, at(5, 5)));
    Manifold m = collide(a, at(5, 5), b, at(5, 5));
    EXPECT_TRUE(one_contact(m, {1, 0}, {4.5f, 5}, 3.0f));
}

TEST(CollisionTest, CircleOverABoxFaceMeetsHalfwayBetweenFaceAndLowestPoint) {
    CircleShape circle(0.0f, 0.0f, 1.0f);
    auto box = PolygonShape::box(2.0f, 1.0f);
    ASSERT_TRUE(overlaps(circle, at(0, 1.5f), *box, at(0, 0)));
    ASSERT_TRUE(overlaps(*box, at(0, 0), circle, at(0, 1.5f)));

    Manifold m = collide(circle, at(0, 1.5f), *box, at(0, 0));
    EXPECT_TRUE(one_contact(m, {0, -1}, {0, 0.75f}, 0.5f));

    Manifold swapped = collide(*box, at(0, 0), circle, at(0, 1.5f));
    EXPECT_TRUE(one_contact(swapped, {0, 1}, {0, 0.75f}, 0.5f));
}

TEST(CollisionTest, ScaledBoxAndCircleMeasureInWorldUnits) {
    CircleShape circle(0.0f, 0.0f, 1.0f);
    auto box = PolygonShape::box(1.0f, 1.0f);
    Manifold m = collide(*box, at(0, 0, 2.0f), circle, at(0, 2.5f));
    EXPECT_TRUE(one_contact(m, {0, 1}, {0, 1.75f}, 0.5f));
    // The circle touching the scaled box's top face.
    expect_apart(*box, at(0, 0, 2.0f), circle, at(0, 3.0f));
}

TEST(CollisionTest, CircleBeyondACornerIsMeasuredAgainstTheCorner) {
    CircleShape circle(0.0f, 0.0f, 1.0f);
    auto box = PolygonShape::box(1.0f, 1.0f);
    Manifold m = collide(circle, at(1.5f, 1.5f), *box, at(0, 0));
    ASSERT_TRUE(overlaps(circle, at(1.5f, 1.5f), *box, at(0, 0)));
    ASSERT_EQ(m.count, 1);
    const float h = std::sqrt(0.5f);
    expect_near(m.normal, {-h, -h});
    // Halfway between the corner (1, 1) and the circle's surface towards it.
    float surface = 1.5f - h;
    expect_near(m.contacts[0].point, {(1.0f + surface) / 2, (1.0f + surface) / 2});
    EXPECT_NEAR(m.contacts[0].depth, 1.0f - 2 * 0.5f * h, 1e-6f);

    // Both edge lines pass through this circle, yet the corner is out of its reach.
    expect_apart(circle, at(1.8f, 1.8f), *box, at(0, 0));
}

TEST(CollisionTest, StackedBoxesTouchAlongTheWideBoxsTopFace) {
    auto a = PolygonShape::box(10.0f, 1.0f);
    auto b = PolygonShape::box(1.0f, 1.0f);
    ASSERT_TRUE(overlaps(*a, at(0, 0), *b, at(0, 1)));
    Manifold m = collide(*a, at(0, 0), *b, at(0, 1));
    ASSERT_EQ(m.count, 2);
    EXPECT_EQ(m.normal, Vector2(0, 1));
    EXPECT_EQ(m.contacts[0].point, Vector2(-1, 0.5f));
    EXPECT_EQ(m.contacts[0].depth, 1.0f);
    EXPECT_EQ(m.contacts[1].point, Vector2(1, 0.5f));
    EXPECT_EQ(m.contacts[1].depth, 1.0f);
}

TEST(CollisionTest, EqualSeparationsGoToTheFirstShapesLowerEdge) {
    auto a = PolygonShape::box(10.0f, 1.0f);
    auto b = PolygonShape::box(1.0f, 1.0f);
    Manifold m = collide(*a, at(0, 0), *b, at(0, 0));
    ASSERT_EQ(m.count, 2);
    EXPECT_EQ(m.normal, Vector2(0, -1));
    EXPECT_EQ(m.contacts[0].point, Vector2(1, 0));
    EXPECT_EQ(m.contacts[0].depth, 2.0f);
    EXPECT_EQ(m.contacts[1].point, Vector2(-1, 0));
    EXPECT_EQ(m.contacts[1].depth, 2.0f);
}

TEST(CollisionTest, IncidentEdgeIsClippedToTheReferenceFace) {
    // The small box hangs over the wide box's right end: one contact is cut back to x = 10.
    auto a = PolygonShape::box(10.0f, 1.0f);
    auto b = PolygonShape::box(1.0f, 1.0f);
    Manifold m = collide(*a, at(0, 0), *b, at(10.5f, 1.75f));
    ASSERT_EQ(m.count, 2);
    EXPECT_EQ(m.normal, Vector2(0, 1));
    EXPECT_EQ(m.contacts[0].point, Vector2(9.5f, 0.875f));
    EXPECT_EQ(m.contacts[0].depth, 0.25f);
    EXPECT_EQ(m.contacts[1].point, Vector2(10.0f, 0.875f));
    EXPECT_EQ(m.contacts[1].depth, 0.25f);
}

TEST(CollisionTest, ReferenceFaceOnTheSecondShapeTurnsTheNormal) {
    // A triangle dips its tip 0.5 into the ground; the ground's face is the reference.
    PolygonShape triangle(3);
    triangle.set_vertex(0, 0.0f, -1.0f);
    triangle.set_vertex(1, 1.0f, 1.0f);
    triangle.set_vertex(2, -1.0f, 1.0f);
    auto ground = PolygonShape::box(10.0f, 1.0f);
    ASSERT_TRUE(overlaps(triangle, at(0, 1.5f), *ground, at(0, 0)));
    Manifold m = collide(triangle, at(0, 1.5f), *ground, at(0, 0));
    EXPECT_TRUE(one_contact(m, {0, -1}, {0, 0.75f}, 0.5f));

    Manifold swapped = collide(*ground, at(0, 0), triangle, at(0, 1.5f));
    EXPECT_TRUE(one_contact(swapped, {0, 1}, {0, 0.75f}, 0.5f));
}

TEST(CollisionTest, PolygonsTouchingAlongAnEdgeOrACornerDoNotOverlap) {
    auto box = PolygonShape::box(1.0f, 1.0f);
    PolygonShape wedge(3);
    wedge.set_vertex(0, 1.0f, -1.0f);
    wedge.set_vertex(1, 3.0f, 0.0f);
    wedge.set_vertex(2, 1.0f, 1.0f);
    expect_apart(*box, at(0, 0), *box, at(2, 0));
    expect_apart(*box, at(0, 0), *box, at(0, -2));
    expect_apart(*box, at(0, 0), *box, at(2, 2));
    expect_apart(*box, at(0, 0), wedge, at(0, 0));
    EXPECT_TRUE(overlaps(*box, at(0.01f, 0), wedge, at(0, 0)));
    EXPECT_EQ(collide(*box, at(0.01f, 0), wedge, at(0, 0)).count, 2);
}

TEST(CollisionTest, RotatedBoxesFindTheCornerDippingIntoTheFace) {
    // A box turned by 45 degrees stands on one corner, 0.25 deep in the ground box.
    auto ground = PolygonShape::box(5.0f, 1.0f);
    auto tile = PolygonShape::box(1.0f, 1.0f);
    Transform turned = at(0, 1.0f + std::sqrt(2.0f) - 0.25f);
    turned.set_rotation(std::atan(1.0f));
    ASSERT_TRUE(overlaps(*tile, turned, *ground, at(0, 0)));
    Manifold m = collide(*tile, turned, *ground, at(0, 0));
    ASSERT_EQ(m.count, 1);
    expect_near(m.normal, {0, -1});
    EXPECT_NEAR(m.contacts[0].depth, 0.25f, 1e-5f);
    expect_near(m.contacts[0].point, {0, 0.875f}, 1e-5f);
}

TEST(CollisionTest, RelativeTransformCarriesTheSecondFrameIntoTheFirst) {
    Transform x1 = at(10.0f, 0.0f, 2.0f);
    x1.axis_x = {0.0f, 1.0f};  // a quarter turn, exactly
    x1.axis_y = {-1.0f, 0.0f};
    Transform x2 = at(10.0f, 4.0f);
    Transform l = relative_transform(x1, x2);
    EXPECT_EQ(l.position, Vector2(2, 0));
    EXPECT_EQ(l.axis_x, Vector2(0, -1));
    EXPECT_EQ(l.axis_y, Vector2(1, 0));
    EXPECT_EQ(l.scale, 0.5f);
    // x1(l(p)) == x2(p).
    for (Vector2 p : {Vector2(0, 0), Vector2(3, -2), Vector2(-1.5f, 7)}) {
        EXPECT_EQ(x1.apply(l.apply(p)), x2.apply(p));
    }
}

TEST(CollisionTest, SupportIndexPrefersTheLowestIndexOnATie) {
    auto box = PolygonShape::box(1.0f, 1.0f);
    EXPECT_EQ(support_index(*box, {0, 1}), 0);   // vertices 0 and 1 tie
    EXPECT_EQ(support_index(*box, {1, 0}), 0);   // vertices 0 and 3 tie
    EXPECT_EQ(support_index(*box, {-1, 0}), 1);  // vertices 1 and 2 tie
    EXPECT_EQ(support_index(*box, {0, -1}), 2);  // vertices 2 and 3 tie
    EXPECT_EQ(support_index(*box, {-1, -1}), 2);
}

TEST(CollisionTest, ClosestPointOnSegment) {
    struct Case {
        Vector2 p, a, b, expected;
    };
    const Case cases[] = {
        {{-5, 3}, {0, 0}, {4, 0}, {0, 0}},  // before a
        {{9, 3}, {0, 0}, {4, 0}, {4, 0}},   // beyond b
        {{1, 3}, {0, 0}, {4, 0}, {1, 0}},   // in between
        {{4, 3}, {0, 0}, {4, 0}, {4, 0}},   // level with b
        {{0, 4}, {2, 0}, {0, 2}, {0, 2}},  {{0, 0}, {2, 0}, {0, 2}, {1, 1}},
        {{1, 1}, {2, 2}, {2, 2}, {2, 2}},  // a point for a segment
    };
    for (const Case& c : cases) {
        EXPECT_EQ(closest_point_on_segment(c.p, c.a, c.b), c.expected);
    }
}

TEST(CollisionTest, DegeneratePolygonsTouchNothing) {
    auto box = PolygonShape::box(1.0f, 1.0f);
    CircleShape circle(0.0f, 0.0f, 2.0f);

    PolygonShape point(3);  // all vertices equal: zero-length edges, non-finite normals
    for (int32_t i = 0; i < 3; ++i) {
        point.set_vertex(i, 0.5f, 0.5f);
    }
    PolygonShape empty(0);
    PolygonShape fresh(4);  // never given vertices: zero normals
    PolygonShape collinear_pair(2);
    collinear_pair.set_vertex(0, 0.0f, 0.0f);
    collinear_pair.set_vertex(1, 0.0f, 0.0f);

    for (const PolygonShape* p : {&point, &empty, &fresh, &collinear_pair}) {
        expect_apart(*p, at(0, 0), *box, at(0, 0));
        expect_apart(*p, at(0, 0), *p, at(0, 0));
        // Against a circle a contact without a direction is never reported.
        EXPECT_EQ(collide(*p, at(0, 0), circle, at(0, 0)).count, 0);
        EXPECT_EQ(collide(circle, at(0, 0), *p, at(0, 0)).count, 0);
        EXPECT_EQ(support_index(*p, {1, 0}), 0);
    }
    EXPECT_FALSE(overlaps(point, at(0, 0), circle, at(0, 0)));
    EXPECT_FALSE(overlaps(empty, at(0, 0), circle, at(0, 0)));
}

TEST(CollisionTest, FlatPolygonActsAsAThinBar) {
    // Three collinear points: zero area, but each edge has a finite normal.
    PolygonShape bar(3);
    bar.set_vertex(0, -2.0f, 0.0f);
    bar.set_vertex(1, 0.0f, 0.0f);
    bar.set_vertex(2, 2.0f, 0.0f);
    CircleShape circle(0.0f, 0.0f, 1.0f);
    Manifold m = collide(circle, at(0, 0.5f), bar, at(0, 0));
    ASSERT_EQ(m.count, 1);
    EXPECT_EQ(m.normal, Vector2(0, -1));
    EXPECT_EQ(m.contacts[0].depth, 0.5f);
    expect_apart(circle, at(0, 1.5f), bar, at(0, 0));
}

TEST(CollisionTest, NonFiniteOrZeroScaleTransformsGiveNoBrokenContact) {
    auto box = PolygonShape::box(1.0f, 1.0f);
    CircleShape circle(0.0f, 0.0f, 1.0f);
    const Shape* shapes[] = {box.get(), &circle};
    for (const Shape* s : shapes) {
        for (const Shape* t : shapes) {
            for (Transform lost : {at(NAN, 0), at(0, INFINITY), at(0, 0, NAN)}) {
                expect_apart(*s, lost, *t, at(0, 0));
            }
            // A shape shrunk to nothing may still sit inside the other, but any contact
            // reported has a usable direction.
            for (const Manifold& m : {collide(*s, at(0, 0, 0.0f), *t, at(0, 0)),
                                      collide(*t, at(0, 0), *s, at(0, 0, 0.0f))}) {
                if (m.count > 0) {
                    EXPECT_TRUE(std::isfinite(m.normal.x) && std::isfinite(m.normal.y));
                    EXPECT_GT(dot(m.normal, m.normal), 0.0f);
                    EXPECT_TRUE(std::isfinite(m.contacts[0].depth));
                }
            }
        }
    }
}

class OddShape : public Shape {
  public:
    int32_t type() const override { return 7; }
    std::unique_ptr<Shape> clone() const override { return std::make_unique<OddShape>(); }
};

TEST(CollisionTest, UnknownShapeKindsNeverMeet) {
    OddShape odd;
    CircleShape circle(0.0f, 0.0f, 5.0f);
    auto box = PolygonShape::box(5.0f, 5.0f);
    for (const Shape* s : {static_cast<const Shape*>(&odd), static_cast<const Shape*>(&circle),
                           static_cast<const Shape*>(box.get())}) {
        expect_apart(odd, at(0, 0), *s, at(0, 0));
    }
}

}  // namespace
