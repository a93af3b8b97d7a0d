#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <vector>

#include "Render/Animation.h"
#include "Render/SubTexture.h"

namespace {

SubTexture pictures[4];

Animation make(int32_t loop_mode, int32_t direction, const std::vector<float>& durations) {
    Animation a(loop_mode, direction);
    for (size_t i = 0; i < durations.size(); ++i)
        a.add_frame(&pictures[i], durations[i]);
    return a;
}

TEST(Animation, StartsOnTheFirstFrameWithItsDuration) {
    Animation a(2, 1);
    EXPECT_EQ(a.index, 0);
    EXPECT_EQ(a.time_left, 0.0f);
    EXPECT_EQ(a.loop_mode, 2);
    EXPECT_EQ(a.direction, 1);
    a.add_frame(&pictures[0], 0.5f);
    EXPECT_EQ(a.time_left, 0.5f);
    a.add_frame(&pictures[1], 0.25f);
    EXPECT_EQ(a.time_left, 0.5f);
    ASSERT_EQ(a.frames.size(), 2u);
    EXPECT_EQ(a.frames[1].subtexture, &pictures[1]);
    EXPECT_EQ(a.frames[1].duration, 0.25f);
    ASSERT_TRUE(a.current_frame());
    EXPECT_EQ(a.current_frame()->subtexture, &pictures[0]);
}

// One advance and what it leaves: the frame, and the direction and the time left where given
// (the time to the last bit where exact, else to float precision).
struct Step {
    float dt;
    int32_t index;
    std::optional<int32_t> direction = std::nullopt;
    std::optional<float> time_left = std::nullopt;
    bool exact = false;
};

struct Advances {
    const char* what;
    int32_t loop_mode;
    std::vector<float> durations;
    std::vector<Step> steps;
};

TEST(Animation, AdvancesUseUpTheFramesTimesInOrder) {
    const std::vector<float> three{0.25f, 0.25f, 0.25f};
    const Advances cases[] = {
        {"wraps after the last frame carrying the rest of the time",
         0,
         three,
         {{0.625f, 2, {}, 0.125f}, {0.125f, 0, {}, 0.25f}}},
        {"leaves a frame exactly when its time is used up",
         0,
         three,
         {{0.1875f, 0, {}, 0.0625f, true}, {0.0625f, 1, {}, 0.25f}}},
        {"passes several frames in one advance",
         0,
         {0.125f, 0.25f, 0.5f},
         {{0.9375f, 0, {}, 0.0625f}}},  // all three, and 0.0625 into the first again
        {"ping-pong passes several frames in one advance and turns",
         2,
         three,
         {{0.8f, 1, 1, 0.2f}}},  // 0 -> 1 -> 2 -> 1, turned backward
        {"ping-pong turns its direction at both ends",
         2,
         three,
         {{0.5f, 2, 0}, {0.25f, 1, 1}, {0.25f, 0, 1}, {0.25f, 1, 0}}},
        {"a zero frame passes at once between timed ones",
         0,
         {0.25f, 0.0f, 0.25f},
         {{0.25f, 2, {}, 0.25f}}},
        {"stopping on a zero last frame ends", 1, {0.25f, 0.25f, 0.0f}, {{0.6f, 2}, {0.01f, 2}}},
        // Counting -1 as time given back would gain 0.75 s per cycle and never end.
        {"negative frames give no time back", 0, {0.25f, -1.0f}, {{0.3f, 0, {}, 0.2f}}},
        // 1.0f - 1e-12f == 1.0f: stepping would never use the time up.
        {"frames too short to count against the time hold the animation",
         2,
         {1e-12f, 1e-12f, 1e-12f},
         {{1.0f, 0, 0, 1e-12f, true}}},
    };
    for (const Advances& c : cases) {
        Animation a = make(c.loop_mode, 0, c.durations);
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const Step& step = c.steps[i];
            a.advance(step.dt);
            EXPECT_EQ(a.index, step.index) << c.what << ", advance " << i;
            if (step.direction) {
                EXPECT_EQ(a.direction, *step.direction) << c.what << ", advance " << i;
            }
            if (step.time_left && step.exact) {
                EXPECT_EQ(a.time_left, *step.time_left) << c.what << ", advance " << i;
            } else if (step.time_left) {
                EXPECT_FLOAT_EQ(a.time_left, *step.time_left) << c.what << ", advance " << i;
            }
        }
    }
}

struct Sequence {
    int32_t loop_mode;
    int32_t direction;
    int frames;
    std::vector<int32_t> indices;  // after each advance by one frame's duration
};

void PrintTo(const Sequence& s, std::ostream* os) {
    *os << "loop_mode " << s.loop_mode << ", direction " << s.direction << ", " << s.frames
        << " frames";
}

class AnimationSequence : public ::testing::TestWithParam<Sequence> {};

TEST_P(AnimationSequence, VisitsTheFramesInOrder) {
    const Sequence& s = GetParam();
    Animation a = make(s.loop_mode, s.direction, std::vector<float>(s.frames, 0.25f));
    std::vector<int32_t> seen;
    for (size_t i = 0; i < s.indices.size(); ++i) {
        a.advance(0.25f);
        seen.push_back(a.index);
        EXPECT_FLOAT_EQ(a.time_left, 0.25f);
    }
    EXPECT_EQ(seen, s.indices);
}

INSTANTIATE_TEST_SUITE_P(
    LoopModesAndDirections, AnimationSequence,
    ::testing::Values(Sequence{0, 0, 3, {1, 2, 0, 1, 2, 0}},  //
                      Sequence{0, 1, 3, {2, 1, 0, 2, 1, 0}},  // backward wraps to the end
                      Sequence{0, -3, 3, {2, 1, 0, 2}},       // any direction but 0 is backward
                      Sequence{1, 0, 3, {1, 2, 2, 2, 2}},     // stops on the last frame
                      Sequence{1, 1, 3, {0, 0, 0}},           // backward stops on the first
                      Sequence{2, 0, 3, {1, 2, 1, 0, 1, 2, 1, 0}},
                      Sequence{2, 1, 3, {1, 2, 1, 0, 1}},  // backward from 0 turns forward
                      Sequence{2, 0, 2, {1, 0, 1, 0}}, Sequence{2, 0, 4, {1, 2, 3, 2, 1, 0, 1}},
                      Sequence{7, 0, 3, {1, 2, 0, 1}},  // undefined modes wrap
                      Sequence{-1, 1, 3, {2, 1, 0, 2}}));

TEST(Animation, StopModeStaysOnTheLastFrameHoweverLong) {
    Animation a = make(1, 0, {0.25f, 0.25f, 0.25f});
    a.advance(1000.0f);
    EXPECT_EQ(a.index, 2);
    EXPECT_GT(a.time_left, 0.0f);
    EXPECT_LE(a.time_left, 0.25f);
    for (int i = 0; i < 100; ++i)
        a.advance(0.37f);
    EXPECT_EQ(a.index, 2);
}

TEST(Animation, ASingleFrameNeverChanges) {
    Animation a = make(0, 0, {0.5f});
    a.advance(0.3f);
    a.advance(7.0f);
    EXPECT_EQ(a.index, 0);
    EXPECT_EQ(a.time_left, 0.5f);
}

TEST(Animation, WithoutFramesNothingHappens) {
    Animation a(2, 0);
    a.advance(0.5f);
    a.reset();
    EXPECT_EQ(a.index, 0);
    EXPECT_EQ(a.time_left, 0.0f);
    EXPECT_EQ(a.current_frame(), nullptr);
}

TEST(Animation, FramesWithoutDurationNeverHoldUpAdvance) {
    for (int32_t mode : {0, 1, 2}) {
        for (float duration : {0.0f, -0.5f}) {
            Animation a = make(mode, 0, {duration, duration, duration});
            a.advance(0.01f);
            a.advance(1.0f);
            // Nothing takes time, so the animation stays on its frame.
            EXPECT_EQ(a.index, 0) << mode << " " << duration;
            EXPECT_EQ(a.direction, 0) << mode << " " << duration;
        }
    }
}

TEST(Animation, ResetRewindsButKeepsDirectionAndLoopMode) {
    Animation a = make(2, 0, {0.5f, 0.25f, 0.25f});
    a.advance(1.1f);  // 0 -> 1 -> 2 -> 1, backward
    ASSERT_EQ(a.index, 1);
    ASSERT_EQ(a.direction, 1);
    a.reset();
    EXPECT_EQ(a.index, 0);
    EXPECT_EQ(a.time_left, 0.5f);
    EXPECT_EQ(a.direction, 1);
    EXPECT_EQ(a.loop_mode, 2);
}

TEST(Animation, ACopyPlaysOnItsOwnAndSharesTheSubTextures) {
    Animation original = make(0, 0, {0.25f, 0.25f});
    Animation copy = original;
    copy.advance(0.3f);
    copy.add_frame(&pictures[3], 1.0f);
    EXPECT_EQ(copy.index, 1);
    EXPECT_EQ(original.index, 0);
    EXPECT_EQ(original.time_left, 0.25f);
    EXPECT_EQ(original.frames.size(), 2u);
    EXPECT_EQ(copy.frames[0].subtexture, original.frames[0].subtexture);
    EXPECT_EQ(copy.current_frame()->subtexture, &pictures[1]);
}

}  // namespace
