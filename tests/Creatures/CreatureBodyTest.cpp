#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Creatures/CreatureBody.h"
#include "Physics/SegmentStrip.h"
#include "Scene/Level.h"

namespace {

// A level with one flat strip on y = 0 from x = -100 to 100.
struct FlatLevel {
    FlatLevel() {
        auto strip = std::make_unique<SegmentStrip>();
        strip->append_segment({-100, 0}, {0, 0});
        strip->append_segment({0, 0}, {100, 0});
        ground = strip.get();
        level.segment_strips.push_back(std::move(strip));
    }
    // A body standing on the strip at x, having landed once.
    CreatureBody standing_at(float x) {
        CreatureBody b;
        b.transform.position = {x, 0};
        b.ground = ground;
        b.jumps_used = 0;
        return b;
    }
    Level level;
    SegmentStrip* ground;
};

}  // namespace

TEST(CreatureBody, IsCaughtOnlyBetweenZeroAndTenUnitsBelowTheLineAndLiftedOnTheNextStep) {
    struct Case {
        float below;
        bool caught;
    };
    for (Case c : {Case{-1.0f, false}, Case{0.0f, false}, Case{0.5f, true}, Case{5.0f, true},
                   Case{9.9f, true}, Case{10.0f, false}, Case{12.0f, false}}) {
        FlatLevel f;
        CreatureBody b;
        b.gravity = 0.0f;
        b.transform.position = {20, -c.below};
        b.step(0.02f, &f.level);
        EXPECT_EQ(b.ground.get() == f.ground, c.caught) << c.below;
        if (!c.caught)
            continue;
        // Landing itself moves nothing; the next step walks the feet onto the line.
        EXPECT_FLOAT_EQ(b.transform.position.y, -c.below);
        b.step(0.02f, &f.level);
        EXPECT_FLOAT_EQ(b.transform.position.y, 0.0f) << c.below;
        EXPECT_EQ(b.jumps_used, 0);
    }
}

TEST(CreatureBody, AFirstPushOfTwoLeavesOnePointEightWhereverFullDragApplies) {
    // With dt 0.02 and the defaults a push takes vx to 2; drag then takes 5 * 0.02 * |vx| of it,
    // or a tenth of that in the air while no direction is held.
    struct Case {
        const char* where;
        bool on_ground;
        bool pushed;
        float vx;
    };
    for (Case c : {Case{"ground", true, true, 1.8f}, Case{"air, key held", false, true, 1.8f},
                   Case{"air, no key", false, false, 1.98f}}) {
        FlatLevel f;
        CreatureBody b = c.on_ground ? f.standing_at(0) : CreatureBody{};
        if (!c.on_ground)
            b.transform.position = {0, 500};
        if (c.pushed) {
            b.push(1, 0.02f);
            EXPECT_EQ(b.facing, 1);
        } else {
            b.vx = 2.0f;
        }
        b.step(0.02f, &f.level);
        EXPECT_NEAR(b.vx, c.vx, 1e-5f) << c.where;
        EXPECT_FALSE(b.driven) << c.where;
    }
}

TEST(CreatureBody, AHeldDirectionSettlesNearSpeedOverDrag) {
    FlatLevel f;
    CreatureBody b = f.standing_at(-90);
    for (int i = 0; i < 400; ++i) {
        b.push(1, 0.01f);
        b.step(0.01f, &f.level);
        if (b.transform.position.x > 80)
            b.transform.position.x = -90;
    }
    // Each step pushes by a * dt and then drags by d * dt: the speed settles where the two
    // balance, a / d less one step's drag (19 here, 20 for a vanishing dt).
    const float a = 100.0f, d = 5.0f, dt = 0.01f;
    EXPECT_NEAR(b.vx, a * dt * (1 - d * dt) / (d * dt), 1e-3f);
}

TEST(CreatureBody, ANewBodyCannotJumpBeforeItHasLanded) {
    CreatureBody b;
    b.transform.position = {0, 50};
    b.jump();
    EXPECT_EQ(b.vy, 0.0f);
    EXPECT_EQ(b.jumps_used, 3);
}

TEST(CreatureBody, WalkingOffTheEndUsesOneJumpSoOneAirJumpIsLeft) {
    FlatLevel f;
    CreatureBody b = f.standing_at(99);
    b.vx = 100.0f;
    b.drag = 0.0f;
    b.step(0.02f, &f.level);
    ASSERT_FALSE(b.ground);
    EXPECT_EQ(b.jumps_used, 1);
    // Off the end the rest of the walk goes on horizontally, then the velocity moves once more.
    EXPECT_NEAR(b.transform.position.x, 99.0f + 2.0f + 2.0f, 1e-4f);

    b.jump();
    EXPECT_EQ(b.vy, b.jump_speed);
    b.vy = -5.0f;
    b.jump();
    EXPECT_EQ(b.vy, -5.0f) << "a third jump";
}

TEST(CreatureBody, AGroundJumpAndOneAirJumpAreExactlyTwo) {
    FlatLevel f;
    CreatureBody b = f.standing_at(0);
    b.step(0.01f, &f.level);
    int jumps = 0;
    for (int i = 0; i < 4; ++i) {
        b.vy = -1.0f;
        b.jump();
        jumps += b.vy == b.jump_speed ? 1 : 0;
    }
    EXPECT_EQ(jumps, 2);
}

TEST(CreatureBody, AJumpCutDampsTheRiseUntilItTurns) {
    CreatureBody b;
    b.transform.position = {0, 100};
    b.vy = 50.0f;
    b.jump_cut = true;
    b.step(0.02f, nullptr);
    // Gravity first, then 0.3 * drag * dt * |vy|.
    const float after_gravity = 50.0f - 9.81f * 0.02f;
    EXPECT_NEAR(b.vy, after_gravity - 0.3f * 5.0f * 0.02f * after_gravity, 1e-4f);
    EXPECT_TRUE(b.jump_cut);

    CreatureBody uncut = b;
    uncut.jump_cut = false;
    b.step(0.02f, nullptr);
    uncut.step(0.02f, nullptr);
    EXPECT_LT(b.vy, uncut.vy);

    b.vy = -1.0f;
    b.step(0.02f, nullptr);
    EXPECT_FALSE(b.jump_cut) << "falling ends the cut";
}

TEST(CreatureBody, ADisabledStripDropsTheBodyAndUsesAJump) {
    FlatLevel f;
    CreatureBody b = f.standing_at(0);
    f.ground->enabled = false;
    b.step(0.02f, &f.level);
    EXPECT_FALSE(b.ground);
    EXPECT_EQ(b.jumps_used, 1);
    b.step(0.02f, &f.level);
    EXPECT_LT(b.transform.position.y, 0.0f);
    EXPECT_FALSE(b.ground) << "a disabled strip catches nothing";
}

TEST(CreatureBody, ARisingBodyPassesUpThroughAStrip) {
    FlatLevel f;
    CreatureBody b;
    b.transform.position = {0, -5};
    b.vy = 100.0f;
    b.step(0.01f, &f.level);
    EXPECT_FALSE(b.ground);
    EXPECT_GT(b.transform.position.y, -5.0f);
}

TEST(CreatureBody, AStripDestroyedUnderTheBodyLeavesItAirborne) {
    auto f = std::make_unique<FlatLevel>();
    CreatureBody b = f->standing_at(0);
    f.reset();
    EXPECT_FALSE(b.ground);
    b.step(0.02f, nullptr);
    EXPECT_LT(b.transform.position.y, 0.0f);
}

TEST(CreatureBody, StaysFiniteWithHugeOrBrokenNumbers) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (float dt : {1.0e30f, inf, nan, -1.0f}) {
        for (float gravity : {9.81f, 3.0e38f}) {
            FlatLevel f;
            CreatureBody b = f.standing_at(0);
            b.gravity = gravity;
            b.speed = 3.0e38f;
            b.drag = 0.0f;
            for (int i = 0; i < 50; ++i) {
                b.push(1, dt);
                b.step(dt, &f.level);
                if (i == 10)
                    b.jump();
            }
            EXPECT_TRUE(std::isfinite(b.transform.position.x)) << dt << " " << gravity;
            EXPECT_TRUE(std::isfinite(b.transform.position.y)) << dt << " " << gravity;
            EXPECT_TRUE(std::isfinite(b.vx) && std::isfinite(b.vy)) << dt << " " << gravity;
        }
    }
}

TEST(CreatureBody, LandsOnASlopeAndWalksAcrossAJunctionOnTheLine) {
    // Up a slope of 1 in 2, then flat from x = 100.
    Level level;
    auto strip = std::make_unique<SegmentStrip>();
    strip->append_segment({0, 0}, {100, 50});
    strip->append_segment({100, 50}, {200, 50});
    level.segment_strips.push_back(std::move(strip));
    CreatureBody b;
    b.gravity = 500.0f;
    b.transform.position = {50, 40};  // 15 units above the line at x = 50
    b.drag = 0.0f;
    int frames = 0;
    while (!b.ground && frames < 100) {
        b.step(0.01f, &level);
        ++frames;
    }
    ASSERT_TRUE(b.ground);
    // Caught within the window below the line, then lifted onto it.
    EXPECT_LT(b.transform.position.y, 25.0f);
    EXPECT_GT(b.transform.position.y, 15.0f);
    b.step(0.01f, &level);
    EXPECT_NEAR(b.transform.position.y, 25.0f, 1e-4f);
    b.vx = 100.0f;
    for (int i = 0; i < 80; ++i) {
        b.step(0.01f, &level);
        const float x = b.transform.position.x;
        const float line = x < 100.0f ? x / 2.0f : 50.0f;
        ASSERT_NEAR(b.transform.position.y, line, 1e-3f) << "frame " << i << " x " << x;
    }
    EXPECT_GT(b.transform.position.x, 100.0f);
    EXPECT_TRUE(b.ground);
}

TEST(CreatureBody, AFallTooFastForTheCatchDepthLandsWhereTheFeetCrossTheLine) {
    struct Ground {
        const char* name;
        Vector2 a, b;   // one segment
        float towards;  // the horizontal direction in which the line comes up to meet a body
    };
    const Ground grounds[] = {
        {"flat", {-1.0e5f, 0}, {1.0e5f, 0}, 1.0f},
        {"rising slope", {-1.0e5f, -5.0e4f}, {1.0e5f, 5.0e4f}, 1.0f},
        {"falling slope", {-1.0e5f, 1.0e5f}, {1.0e5f, -1.0e5f}, -1.0f},
    };
    for (const Ground& g : grounds) {
        for (float dt : {0.01f, 0.025f}) {
            for (float speed : {50.0f, 399.0f, 1000.0f, 5000.0f, 40000.0f, 1.0e6f}) {
                for (float vx : {0.0f, 300.0f * g.towards}) {
                    Level level;
                    auto strip = std::make_unique<SegmentStrip>();
                    strip->append_segment(g.a, g.b);
                    SegmentStrip* ground = strip.get();
                    level.segment_strips.push_back(std::move(strip));
                    const Segment& s = ground->segments[0];
                    CreatureBody b;
                    b.drag = 0.0f;
                    b.gravity = 0.0f;
                    b.vx = vx;
                    b.vy = -speed;
                    b.transform.position = {0.0f, s.line_y(0.0f) + 600.0f};
                    int steps = 0;
                    while (!b.ground && steps < 10000) {
                        b.step(dt, &level);
                        ++steps;
                    }
                    SCOPED_TRACE(testing::Message()
                                 << g.name << " dt " << dt << " speed " << speed << " vx " << vx);
                    ASSERT_EQ(b.ground.get(), ground);
                    // Never further below the line than the catch depth, and on it next step.
                    const float x = b.transform.position.x;
                    EXPECT_LE(s.line_y(x) - b.transform.position.y, s.catch_depth);
                    EXPECT_GE(s.line_y(x) - b.transform.position.y, -0.01f * s.catch_depth);
                    b.step(dt, &level);
                    EXPECT_NEAR(b.transform.position.y, s.line_y(b.transform.position.x), 0.05f);
                    EXPECT_EQ(b.ground.get(), ground);
                    EXPECT_EQ(b.jumps_used, 0);
                }
            }
        }
    }
}

TEST(CreatureBody, AFastFallMissesAStripItPassesBesideAndTheEarlierCrossingWins) {
    Level level;
    auto upper = std::make_unique<SegmentStrip>();
    upper->append_segment({0, 0}, {100, 0});
    auto lower = std::make_unique<SegmentStrip>();
    lower->append_segment({-500, -300}, {500, -300});
    SegmentStrip* upper_strip = upper.get();
    SegmentStrip* lower_strip = lower.get();
    // The lower strip comes first in the list: the order of the crossing, not of the list, wins.
    level.segment_strips.push_back(std::move(lower));
    level.segment_strips.push_back(std::move(upper));

    CreatureBody beside;  // falls past the upper strip's left end
    beside.gravity = 0.0f;
    beside.vy = -20000.0f;
    beside.transform.position = {-5, 100};
    beside.step(0.025f, &level);
    EXPECT_EQ(beside.ground.get(), lower_strip);
    EXPECT_FLOAT_EQ(beside.transform.position.y, -300.0f);

    CreatureBody above;  // crosses both lines in one step: the upper one first
    above.gravity = 0.0f;
    above.vy = -20000.0f;
    above.transform.position = {50, 100};
    above.step(0.025f, &level);
    EXPECT_EQ(above.ground.get(), upper_strip);
    EXPECT_FLOAT_EQ(above.transform.position.y, 0.0f);

    CreatureBody from_below;  // already under the upper line: it does not land on it
    from_below.gravity = 0.0f;
    from_below.vy = -20000.0f;
    from_below.transform.position = {50, -50};
    from_below.step(0.025f, &level);
    EXPECT_EQ(from_below.ground.get(), lower_strip);

    upper_strip->enabled = false;  // a disabled strip is crossed freely
    CreatureBody disabled;
    disabled.gravity = 0.0f;
    disabled.vy = -20000.0f;
    disabled.transform.position = {50, 100};
    disabled.step(0.025f, &level);
    EXPECT_EQ(disabled.ground.get(), lower_strip);
}
