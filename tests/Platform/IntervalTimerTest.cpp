#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

#include "Platform/IntervalTimer.h"

TEST(IntervalTimer, CountsCompletedPeriodsAndKeepsTheRest) {
    IntervalTimer t;
    t.set_period(0.25f);
    t.advance(0.5f);
    EXPECT_EQ(t.ticks, 2);
    EXPECT_FLOAT_EQ(t.elapsed, 0.0f);
    t.advance(0.375f);
    EXPECT_EQ(t.ticks, 3);
    EXPECT_FLOAT_EQ(t.elapsed, 0.125f);
    // A new period starts over.
    t.set_period(1.0f);
    EXPECT_EQ(t.ticks, 0);
    EXPECT_EQ(t.elapsed, 0.0f);
}

TEST(IntervalTimer, IgnoresPeriodsAndStepsThatAreNotPositive) {
    IntervalTimer t;
    t.advance(1.0f);  // no period yet: nothing to count, and no endless loop
    EXPECT_EQ(t.ticks, 0);
    t.set_period(0.5f);
    for (float bad : {0.0f, -1.0f}) {
        t.set_period(bad);
        EXPECT_EQ(t.period, 0.5f);
        t.advance(bad);
        EXPECT_EQ(t.elapsed, 0.0f);
    }
    t.advance(0.5f);  // reaching the period exactly completes it
    EXPECT_EQ(t.ticks, 1);
}

TEST(IntervalTimer, TinyPeriodsAndHugeStepsEndAtOnce) {
    for (auto [period, dt] : {std::pair{1e-30f, 0.01f}, std::pair{1e-6f, 100.0f},
                              std::pair{0.5f, std::numeric_limits<float>::infinity()},
                              std::pair{1e-3f, std::numeric_limits<float>::max()}}) {
        IntervalTimer t;
        t.set_period(period);
        t.advance(dt);
        EXPECT_GT(t.ticks, 1000) << period << " " << dt;
        EXPECT_TRUE(std::isfinite(t.elapsed));
        EXPECT_GE(t.elapsed, 0.0f);
        EXPECT_LT(t.elapsed, period);
    }
}
