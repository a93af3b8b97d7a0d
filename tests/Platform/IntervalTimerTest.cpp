#include <gtest/gtest.h>

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
