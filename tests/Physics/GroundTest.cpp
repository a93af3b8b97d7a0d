#include <gtest/gtest.h>

#include <cmath>

#include "Physics/Ground.h"
#include "PhysicsTestSupport.h"

namespace {

using physics_test::expect_near;

std::unique_ptr<SegmentStrip> strip_through(std::initializer_list<Vector2> points,
                                            int32_t code = 0) {
    auto strip = std::make_unique<SegmentStrip>(code);
    const Vector2* previous = nullptr;
    for (const Vector2& p : points) {
        if (previous) {
            strip->append_segment(*previous, p);
        }
        previous = &p;
    }
    return strip;
}

TEST(GroundTest, NewStripsAndSegmentsHaveTheirDefaults) {
    SegmentStrip strip;
    EXPECT_EQ(strip.code, 0);
    EXPECT_TRUE(strip.enabled);
    EXPECT_EQ(strip.color, (Color{0.5f, 0.0f, 0.0f, 1.0f}));
    strip.append_segment({1, 2}, {3, 4});
    ASSERT_EQ(strip.segments.size(), 1u);
    EXPECT_EQ(strip.segments[0].start, Vector2(1, 2));
    EXPECT_EQ(strip.segments[0].end, Vector2(3, 4));
    EXPECT_EQ(strip.segments[0].catch_depth, 10.0f);
}

TEST(GroundTest, SegmentAtFindsTheFirstSegmentSpanningX) {
    auto strip = strip_through({{0, 0}, {10, 0}, {20, 5}});
    strip->append_segment({5, 50}, {15, 50});  // overlaps the others' x range, later in list
    EXPECT_EQ(strip->segment_at(0.0f), &strip->segments[0]);
    EXPECT_EQ(strip->segment_at(9.99f), &strip->segments[0]);
    EXPECT_EQ(strip->segment_at(10.0f), &strip->segments[1]);  // the end belongs to the next
    EXPECT_EQ(strip->segment_at(20.0f), nullptr);
    EXPECT_EQ(strip->segment_at(-0.01f), nullptr);
    EXPECT_EQ(strip->segment_at(NAN), nullptr);

    EXPECT_EQ(strip->next_segment(&strip->segments[0], 1.0f), &strip->segments[1]);
    EXPECT_EQ(strip->next_segment(&strip->segments[0], 0.0f), &strip->segments[1]);
    EXPECT_EQ(strip->next_segment(&strip->segments[0], -1.0f), nullptr);
    EXPECT_EQ(strip->next_segment(&strip->segments[2], -0.5f), &strip->segments[1]);
    EXPECT_EQ(strip->next_segment(&strip->segments[2], 1.0f), nullptr);
    Segment stranger;
    EXPECT_EQ(strip->next_segment(&stranger, 1.0f), nullptr);
    EXPECT_EQ(strip->next_segment(nullptr, 1.0f), nullptr);
}

TEST(GroundTest, LineHeightExtendsBeyondTheSegment) {
    Segment s{{10, 0}, {20, 5}};
    EXPECT_EQ(s.line_y(10.0f), 0.0f);
    EXPECT_EQ(s.line_y(14.0f), 2.0f);
    EXPECT_EQ(s.line_y(30.0f), 10.0f);
    EXPECT_EQ(s.line_y(0.0f), -5.0f);
}

TEST(GroundTest, OnlyFeetStrictlyBelowTheLineAndWithinTheCatchDepthAreCaught) {
    SegmentStripList strips;
    strips.push_back(strip_through({{0, 0}, {100, 20}}));
    struct Case {
        float below;
        bool caught;
    };
    const Case cases[] = {{-1.0f, false}, {0.0f, false},  {0.5f, true},
                          {9.5f, true},   {10.0f, false}, {12.0f, false}};
    for (const Case& c : cases) {
        SegmentStrip* found = find_landing_strip(strips, {50.0f, 10.0f - c.below});
        EXPECT_EQ(found, c.caught ? strips[0].get() : nullptr) << c.below;
    }
    EXPECT_EQ(find_landing_strip(strips, {150.0f, 29.5f}), nullptr);
    EXPECT_EQ(find_landing_strip(SegmentStripList{}, {0, 0}), nullptr);
}

TEST(GroundTest, RightToLeftAndVerticalSegmentsNeverCatch) {
    SegmentStripList strips;
    strips.push_back(strip_through({{100, 0}, {0, 0}}));
    strips.push_back(strip_through({{50, -5}, {50, 5}}));
    for (float x : {0.0f, 50.0f, 99.0f}) {
        EXPECT_EQ(find_landing_strip(strips, {x, -0.5f}), nullptr) << x;
    }
    auto reversed = strip_through({{100, 0}, {0, 0}});
    WalkResult r = walk_along(*reversed, {50, 0}, 1.0f);
    EXPECT_TRUE(r.fell);
    EXPECT_EQ(r.position, Vector2(50, 0));
}

TEST(GroundTest, EarlierStripWinsAndDisabledStripsCatchNothing) {
    SegmentStripList strips;
    strips.push_back(strip_through({{0, 5}, {100, 5}}));
    strips.push_back(strip_through({{0, 2}, {100, 2}}));
    EXPECT_EQ(find_landing_strip(strips, {50, 1}), strips[0].get());
    strips[0]->enabled = false;
    EXPECT_EQ(find_landing_strip(strips, {50, 1}), strips[1].get());
    strips[1]->enabled = false;
    EXPECT_EQ(find_landing_strip(strips, {50, 1}), nullptr);
}

TEST(GroundTest, FindStripWithCodeTakesTheFirst) {
    SegmentStripList strips;
    strips.push_back(strip_through({{0, 0}, {1, 0}}, 3));
    strips.push_back(strip_through({{0, 0}, {1, 0}}, 4));
    strips.push_back(strip_through({{0, 0}, {1, 0}}, 3));
    EXPECT_EQ(find_strip_with_code(strips, 3), strips[0].get());
    EXPECT_EQ(find_strip_with_code(strips, 4), strips[1].get());
    EXPECT_EQ(find_strip_with_code(strips, 5), nullptr);
}

TEST(GroundTest, MoveOfZeroLiftsTheFeetOntoTheLine) {
    auto strip = strip_through({{0, 0}, {100, 50}});
    WalkResult r = walk_along(*strip, {40.0f, 19.5f}, 0.0f);
    EXPECT_FALSE(r.fell);
    EXPECT_EQ(r.position, Vector2(40, 20));
}

TEST(GroundTest, WalkingUpA45DegreeSlopeMovesXByAboutPoint707) {
    auto strip = strip_through({{0, 0}, {100, 100}});
    WalkResult r = walk_along(*strip, {10, 10}, 1.0f);
    EXPECT_FALSE(r.fell);
    expect_near(r.position, {10.0f + std::sqrt(0.5f), 10.0f + std::sqrt(0.5f)}, 1e-5f);
    r = walk_along(*strip, {10, 10}, -1.0f);
    EXPECT_FALSE(r.fell);
    expect_near(r.position, {10.0f - std::sqrt(0.5f), 10.0f - std::sqrt(0.5f)}, 1e-5f);
}

TEST(GroundTest, RunningOffAnEndContinuesLevelAndFalls) {
    struct Case {
        std::initializer_list<Vector2> points;
        Vector2 from;
        float distance;
        Vector2 expected;
    };
    const Case cases[] = {
        {{{0, 0}, {10, 0}}, {8, 0}, 5.0f, {13, 0}},
        {{{0, 0}, {30, 40}}, {0, 0}, 53.0f, {33, 40}},  // 3 past the end of a 50-long slope
        {{{0, 0}, {10, 0}}, {2, 0}, -5.0f, {-3, 0}},
        {{{0, 6}, {8, 0}, {20, 0}}, {12, 0}, -17.0f, {-3, 6}},  // 4 + 10 + 3
    };
    for (const Case& c : cases) {
        auto strip = strip_through(c.points);
        WalkResult r = walk_along(*strip, c.from, c.distance);
        EXPECT_TRUE(r.fell);
        expect_near(r.position, c.expected, 1e-5f);
    }
}

TEST(GroundTest, MoveAcrossAJunctionContinuesFromTheJunction) {
    auto strip = strip_through({{0, 0}, {10, 0}, {13, 4}, {23, 4}});
    WalkResult r = walk_along(*strip, {8, 0}, 5.0f);  // 2 to the junction, 3 along a 3-4-5 slope
    EXPECT_FALSE(r.fell);
    expect_near(r.position, {11.8f, 2.4f}, 1e-5f);
    r = walk_along(*strip, {11.5f, 2.0f}, -4.0f);  // 2.5 down to the junction, 1.5 beyond
    EXPECT_FALSE(r.fell);
    expect_near(r.position, {8.5f, 0.0f}, 1e-5f);
    r = walk_along(*strip, {9, 0}, 1.0f + 5.0f + 4.0f);  // across two junctions
    EXPECT_FALSE(r.fell);
    expect_near(r.position, {17, 4}, 1e-5f);
}

TEST(GroundTest, LeftwardMoveFromASegmentsStartGoesOnToThePreviousSegment) {
    // x = 10 belongs to the second segment, whose start is where the feet already are.
    auto strip = strip_through({{0, 0}, {10, 0}, {20, 10}});
    WalkResult r = walk_along(*strip, {10, 0}, -3.0f);
    EXPECT_FALSE(r.fell);
    EXPECT_EQ(r.position, Vector2(7, 0));
    r = walk_along(*strip, {10, 0}, 0.0f);
    EXPECT_FALSE(r.fell);
    EXPECT_EQ(r.position, Vector2(10, 0));
}

TEST(GroundTest, FeetOffEveryStripFallWhereTheyAre) {
    auto strip = strip_through({{0, 0}, {10, 0}});
    for (Vector2 p : {Vector2(-1, 0), Vector2(10, 0), Vector2(NAN, 0)}) {
        WalkResult r = walk_along(*strip, p, 2.0f);
        EXPECT_TRUE(r.fell);
        EXPECT_TRUE(r.position == p || std::isnan(p.x));
    }
    WalkResult r = walk_along(SegmentStrip{}, {0, 0}, 1.0f);
    EXPECT_TRUE(r.fell);
}

// Script numbers beyond a float's range become infinities: such segments are no ground, and a
// body never walks onto one or lands on one.
TEST(GroundTest, SegmentsWithoutFiniteLinesAreNoGround) {
    const float inf = INFINITY;
    struct Case {
        const char* what;
        Vector2 a, b;
    };
    const Case cases[] = {
        {"an end at infinity", {0, 0.5f}, {inf, -875}},
        {"a height at infinity", {0, 0}, {10, -inf}},
        {"a height that is not a number", {0, NAN}, {10, 0}},
        {"a slope that overflows", {0, 0}, {1e-30f, 1e30f}},
    };
    for (const Case& c : cases) {
        SegmentStripList strips;
        strips.push_back(strip_through({{-10, 0}, c.a, c.b}));
        const SegmentStrip& strip = *strips[0];
        EXPECT_EQ(strip.segment_at(c.a.x), nullptr) << c.what;
        EXPECT_EQ(find_landing_strip(strips, {1e-31f, -1}), nullptr) << c.what;
        EXPECT_EQ(find_crossed_strip(strips, {1e-31f, 100}, {1e-31f, -1e6f}).strip, nullptr)
            << c.what;
        // Walking off the good segment into the broken one falls at the junction.
        for (float from : {-5.0f, -0.001f}) {
            WalkResult r = walk_along(strip, {from, 0}, 20.0f);
            EXPECT_TRUE(r.fell) << c.what;
            EXPECT_TRUE(std::isfinite(r.position.x) && std::isfinite(r.position.y)) << c.what;
        }
    }
}

TEST(GroundTest, StepsAndZeroLengthSegmentsInAStripKeepPositionsFinite) {
    // A vertical riser has no line height: the point reached along it stands.
    auto stairs = strip_through({{0, 0}, {10, 0}, {10, 5}, {20, 5}});
    WalkResult r = walk_along(*stairs, {8, 0}, 4.0f);
    EXPECT_FALSE(r.fell);
    EXPECT_EQ(r.position, Vector2(10, 2));
    // The next move starts on the top step, measured towards its end, and is lifted onto it.
    r = walk_along(*stairs, r.position, 1.0f);
    EXPECT_FALSE(r.fell);
    expect_near(r.position, {10.0f + 10.0f / std::sqrt(109.0f), 5.0f}, 1e-5f);
    r = walk_along(*stairs, {8, 0}, 8.0f);  // 2 + 5 + 1
    EXPECT_EQ(r.position, Vector2(11, 5));

    auto with_point = strip_through({{0, 0}, {10, 0}, {10, 0}, {20, 0}});
    r = walk_along(*with_point, {8, 0}, 4.0f);
    EXPECT_FALSE(r.fell);
    EXPECT_EQ(r.position, Vector2(12, 0));
    r = walk_along(*with_point, {12, 0}, -4.0f);
    EXPECT_FALSE(r.fell);
    EXPECT_EQ(r.position, Vector2(8, 0));
}

TEST(GroundTest, LeftwardMoveUsedUpExactlyAtAJunctionStaysOnTheJunction) {
    // Rounding makes the step along the second segment a hair longer than the leg itself, so
    // the move ends at the junction with exactly nothing left; it must not turn right.
    auto strip = std::make_unique<SegmentStrip>();
    strip->append_segment({-20.0f, -30.0f}, {-6.5f, -17.0f});
    strip->append_segment({-6.5f, -17.0f}, {0.0f, -10.5f});
    strip->append_segment({0.0f, -10.5f}, {10.0f, -10.5f});
    float leg = std::sqrt(1.0f + 6.5f * 6.5f);
    WalkResult r = walk_along(*strip, {-5.5f, -10.5f}, -leg);
    EXPECT_FALSE(r.fell);
    EXPECT_EQ(r.position, Vector2(-6.5f, -17.0f));
}

}  // namespace
