// Shapes, colliders and segment strips as scripts build them, and their debug view.
#include "Physics/CircleShape.h"
#include "Physics/PolygonShape.h"
#include "Scene/Level.h"
#include "Scene/TempLists.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

class PhysicsScriptTest : public EngineTest {
  protected:
    Shape* shape(const std::string& name) { return TempLists::instance().shapes.find(name); }
    Level& level() { return *Game::instance().level; }
};

TEST_F(PhysicsScriptTest, CreateShapeMakesEachKindAndIgnoresOthers) {
    start(R"(
        lf = LuaFunctions()
        lf:create_shape('tri', 0, 9, 9)
        lf:create_shape('five', 1, 5.9, 0)
        lf:create_shape('square', 2, 4, 1)
        lf:create_shape('box', 3, 10, 2)
        lf:create_shape('bad', 4, 1, 1)
        lf:create_shape('none', 1, 0, 0)
        lf:create_circle('c', 1, 2, 3)
    )");
    auto* tri = dynamic_cast<PolygonShape*>(shape("tri"));
    ASSERT_NE(tri, nullptr);
    EXPECT_EQ(tri->count(), 3);
    EXPECT_EQ(tri->vertex(2), (Vector2{0, 0}));
    EXPECT_EQ(dynamic_cast<PolygonShape*>(shape("five"))->count(), 5);
    auto* square = dynamic_cast<PolygonShape*>(shape("square"));
    ASSERT_EQ(square->count(), 4);
    EXPECT_NEAR(square->vertex(1).x, 0.0f, 1e-6);
    EXPECT_NEAR(square->vertex(1).y, 1.0f, 1e-6);
    EXPECT_NEAR(square->vertex(2).x, -1.0f, 1e-6);
    auto* box = dynamic_cast<PolygonShape*>(shape("box"));
    EXPECT_EQ(box->vertex(0), (Vector2{-10, -2}));
    EXPECT_EQ(box->vertex(2), (Vector2{10, 2}));
    EXPECT_EQ(shape("bad"), nullptr);
    auto* c = dynamic_cast<CircleShape*>(shape("c"));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->center, (Vector2{1, 2}));
    EXPECT_EQ(c->radius, 3.0f);
}

TEST_F(PhysicsScriptTest, EditingCallsChangeOnlyTheRightKindWithinBounds) {
    start(R"(
        lf = LuaFunctions()
        lf:create_shape('p', 1, 3, 0)
        lf:create_circle('c', 0, 0, 1)
        lf:shape_vertex('p', 0, 1, 0)
        lf:shape_vertex('p', 1, 0, 1)
        lf:shape_vertex('p', 3, 5, 5)     -- past the last vertex
        lf:shape_vertex('p', -1, 5, 5)
        lf:shape_vertex('c', 0, 5, 5)     -- a circle has no vertices
        lf:circle_center('p', 7, 7)       -- a polygon has no centre
        lf:circle_radius('p', 7)
        lf:circle_center('c', 4, 5)
        lf:circle_radius('c', 6)
        lf:shape_vertex('nobody', 0, 1, 1)
        lf:circle_radius('nobody', 1)
    )");
    auto* p = dynamic_cast<PolygonShape*>(shape("p"));
    EXPECT_EQ(p->vertex(0), (Vector2{1, 0}));
    EXPECT_EQ(p->vertex(1), (Vector2{0, 1}));
    EXPECT_EQ(p->vertex(2), (Vector2{0, 0}));
    auto* c = dynamic_cast<CircleShape*>(shape("c"));
    EXPECT_EQ(c->center, (Vector2{4, 5}));
    EXPECT_EQ(c->radius, 6.0f);
}

TEST_F(PhysicsScriptTest, ShapeNamesCanBeForgotten) {
    start(R"(
        lf = LuaFunctions()
        lf:create_circle('c', 0, 0, 1)
        lf:shape_remove_from_temp_list('c')
        lf:shape_remove_from_temp_list('c')
        lf:circle_radius('c', 5)
    )");
    EXPECT_EQ(shape("c"), nullptr);
}

TEST_F(PhysicsScriptTest, ColliderTakesACloneAndIsAppendedToTheLevel) {
    start(R"(
        lf = LuaFunctions()
        lf:create_shape('box', 3, 10, 5)
        lf:create_collider(1, 'box', 0, 0)   -- no level yet: nothing
        lf:create_level(0, 0, 0, 0)
        lf:create_collider(7, 'box', 100, 50)
        lf:create_collider(8, 'nothing', 1, 2)
        lf:shape_vertex('box', 0, -99, -99)  -- the collider keeps its own copy
        lf:create_collider(7, 'box', 0, 0)
    )");
    ASSERT_EQ(level().colliders.size(), 3u);
    const Collider& c = *level().colliders[0];
    EXPECT_EQ(c.id, 7);
    EXPECT_EQ(c.transform.position, (Vector2{100, 50}));
    EXPECT_EQ(c.color, (Color{0, 0, 1, 0.5f}));
    EXPECT_NEAR(c.bounding_radius, std::sqrt(125.0f), 1e-4);
    auto* polygon = dynamic_cast<const PolygonShape*>(c.shape.get());
    ASSERT_NE(polygon, nullptr);
    EXPECT_EQ(polygon->vertex(0), (Vector2{-10, -5}));
    EXPECT_NE(shape("box"), nullptr) << "the name stays in the temp list";
    EXPECT_EQ(level().colliders[1]->shape, nullptr);
    EXPECT_EQ(dynamic_cast<const PolygonShape*>(level().colliders[2]->shape.get())->vertex(0),
              (Vector2{-99, -99}));
}

TEST_F(PhysicsScriptTest, StripsAreLaidOutFromThePenAndUploadedToTheLevel) {
    start(R"(
        lf = LuaFunctions()
        lf:add_segment(5, 5)                  -- nothing to add to
        lf:upload_segmentstrip()              -- no level, nothing unfinished
        lf:create_level(0, 0, 0, 0)
        lf:create_segment(0, 0)
        lf:add_segment(100, 0)
        lf:add_segment(200, 50)
        lf:upload_segmentstrip()
        lf:upload_segmentstrip()              -- nothing unfinished any more
        lf:create_segment_with_code(300, 0, 400, 0, 42)
        lf:add_segment_with_code(500, 10, 42) -- the strip of code 42 is not uploaded yet
        lf:add_segment(250, 60)               -- continues from the pen, not from (400, 0)
        lf:upload_segmentstrip()
        lf:add_segment_with_code(500, 10, 42)
        lf:add_segment_with_code(1, 1, 99)
    )");
    ASSERT_EQ(level().segment_strips.size(), 2u);
    const SegmentStrip& first = *level().segment_strips[0];
    ASSERT_EQ(first.segments.size(), 2u);
    EXPECT_EQ(first.code, 0);
    EXPECT_EQ(first.segments[1].start, (Vector2{100, 0}));
    EXPECT_EQ(first.segments[1].end, (Vector2{200, 50}));
    const SegmentStrip& coded = *level().segment_strips[1];
    EXPECT_EQ(coded.code, 42);
    ASSERT_EQ(coded.segments.size(), 3u);
    EXPECT_EQ(coded.segments[1].start, (Vector2{200, 50}));
    EXPECT_EQ(coded.segments[1].end, (Vector2{250, 60}));
    EXPECT_EQ(coded.segments[2].start, (Vector2{250, 60}));
    EXPECT_EQ(coded.segments[2].end, (Vector2{500, 10}));
}

TEST_F(PhysicsScriptTest, PenPointSurvivesLevelChanges) {
    start(R"(
        lf = LuaFunctions()
        lf:create_level(0, 0, 0, 0)
        lf:create_segment(10, 20)
        lf:create_level(0, 0, 0, 0)
        lf:add_segment(30, 20)
        lf:upload_segmentstrip()
    )");
    ASSERT_EQ(level().segment_strips.size(), 1u);
    EXPECT_EQ(level().segment_strips[0]->segments[0].start, (Vector2{10, 20}));
}

TEST_F(PhysicsScriptTest, DebugViewDrawsStripsAndCollidersOnlyWhenSwitchedOn) {
    start(R"(
        lf = LuaFunctions()
        lf:create_level(0, 0, 0, 0)
        lf:create_segment(-300, 100.5)
        lf:add_segment(300, 100.5)
        lf:upload_segmentstrip()
        lf:create_shape('box', 3, 50, 50)
        lf:create_collider(1, 'box', 0, 0)
        lf:create_circle('round', 0, 0, 30)
        lf:create_collider(2, 'round', 200, -200)
        lf:create_collider(3, 'nothing', -200, -200)
    )");
    tick();
    EXPECT_EQ(pixel(640, 360), (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(pixel(640, 460), (Pixel{0, 0, 0, 255}));
    ASSERT_EQ(lua("lf:draw_segments(true)"), "");
    // A disabled strip is still drawn.
    level().segment_strips[0]->enabled = false;
    tick();
    // The strip's dark red line, the blue half-transparent box and circle over black.
    Pixel line = pixel(640, 460);
    EXPECT_NEAR(line.r, 128, 1);
    EXPECT_EQ(line.g, 0);
    EXPECT_EQ(line.b, 0);
    Pixel box = pixel(640, 360);
    EXPECT_EQ(box.r, 0);
    EXPECT_NEAR(box.b, 128, 1);
    EXPECT_NEAR(pixel(840, 160).b, 128, 1);
    EXPECT_EQ(pixel(440, 160), (Pixel{0, 0, 0, 255}));
}

TEST_F(PhysicsScriptTest, DebugViewWithoutALevelDrawsNothingAndFailsNothing) {
    start("LuaFunctions():draw_segments(true)");
    tick(2);
    EXPECT_EQ(pixel(640, 360), (Pixel{0, 0, 0, 255}));
}
