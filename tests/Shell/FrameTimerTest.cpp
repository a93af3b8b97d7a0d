#include <gtest/gtest.h>

#include "Shell/FrameTimer.h"
#include "Support/ScriptedClock.h"

TEST(FrameTimer, TwoMillisecondFramesAlternateBetweenSleepingAndNot) {
    ScriptedClock clock;
    FrameTimer timer(clock);
    timer.start();
    uint32_t start = clock.now;
    for (int pair = 0; pair < 3; ++pair) {
        clock.now += 2;  // the work of a frame
        EXPECT_FLOAT_EQ(timer.next_frame(), 0.010f);
        clock.now += 2;
        EXPECT_FLOAT_EQ(timer.next_frame(), 0.010f);
    }
    // Three pairs: each pair sleeps once for 8 ms, so 12 ms of real time per 20 ms of game time.
    EXPECT_EQ(clock.sleeps, (std::vector<uint32_t>{8, 8, 8}));
    EXPECT_EQ(clock.now - start, 3u * 12u);
}

TEST(FrameTimer, IntervalsAreClampedToTenAndTwentyFive) {
    struct Case {
        uint32_t elapsed;
        float dt;
        uint32_t sleep;
    };
    for (Case c :
         {Case{0, 0.010f, 10}, Case{9, 0.010f, 1}, Case{10, 0.010f, 0}, Case{17, 0.017f, 0},
          Case{25, 0.025f, 0}, Case{26, 0.025f, 0}, Case{500, 0.025f, 0}}) {
        ScriptedClock clock;
        FrameTimer timer(clock);
        timer.start();
        clock.now += c.elapsed;
        EXPECT_FLOAT_EQ(timer.next_frame(), c.dt) << c.elapsed;
        EXPECT_EQ(clock.sleeps.empty() ? 0u : clock.sleeps[0], c.sleep) << c.elapsed;
    }
}

TEST(FrameTimer, TimerWrapStillGivesTheRightInterval) {
    ScriptedClock clock;
    clock.now = 0xFFFFFFF0u;
    FrameTimer timer(clock);
    timer.start();
    clock.now += 20;  // wraps past zero
    EXPECT_FLOAT_EQ(timer.next_frame(), 0.020f);
    EXPECT_TRUE(clock.sleeps.empty());
}
