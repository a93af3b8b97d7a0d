#include <gtest/gtest.h>

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

TEST(Animation, WrapsAfterTheLastFrameCarryingTheRestOfTheTime) {
    Animation a = make(0, 0, {0.25f, 0.25f, 0.25f});
    a.advance(0.625f);
    EXPECT_EQ(a.index, 2);
    EXPECT_FLOAT_EQ(a.time_left, 0.125f);
    a.advance(0.125f);
    EXPECT_EQ(a.index, 0);
    EXPECT_FLOAT_EQ(a.time_left, 0.25f);
}

TEST(Animation, LeavesAFrameExactlyWhenItsTimeIsUsedUp) {
    Animation a = make(0, 0, {0.25f, 0.25f, 0.25f});
    a.advance(0.1875f);
    EXPECT_EQ(a.index, 0);
    EXPECT_EQ(a.time_left, 0.0625f);
    a.advance(0.0625f);
    EXPECT_EQ(a.index, 1);
    EXPECT_FLOAT_EQ(a.time_left, 0.25f);
}

TEST(Animation, PassesSeveralFramesInOneAdvance) {
    Animation a = make(0, 0, {0.125f, 0.25f, 0.5f});
    a.advance(0.9375f);  // all three frames, and 0.0625 into the first again
    EXPECT_EQ(a.index, 0);
    EXPECT_FLOAT_EQ(a.time_left, 0.0625f);

    Animation p = make(2, 0, {0.25f, 0.25f, 0.25f});
    p.advance(0.8f);  // 0 -> 1 -> 2 -> 1, turned backward
    EXPECT_EQ(p.index, 1);
    EXPECT_EQ(p.direction, 1);
    EXPECT_FLOAT_EQ(p.time_left, 0.2f);
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

TEST(Animation, PingPongTurnsItsDirectionAtBothEnds) {
    Animation a = make(2, 0, {0.25f, 0.25f, 0.25f});
    a.advance(0.5f);
    EXPECT_EQ(a.index, 2);
    EXPECT_EQ(a.direction, 0);
    a.advance(0.25f);
    EXPECT_EQ(a.index, 1);
    EXPECT_EQ(a.direction, 1);
    a.advance(0.25f);
    EXPECT_EQ(a.index, 0);
    EXPECT_EQ(a.direction, 1);
    a.advance(0.25f);
    EXPECT_EQ(a.index, 1);
    EXPECT_EQ(a.direction, 0);
}

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

TEST(Animation, AZeroFramePassesAtOnceBetweenTimedOnes) {
    Animation a = make(0, 0, {0.25f, 0.0f, 0.25f});
    a.advance(0.25f);
    EXPECT_EQ(a.index, 2);
    EXPECT_FLOAT_EQ(a.time_left, 0.25f);
}

TEST(Animation, StoppingOnAZeroLastFrameEnds) {
    Animation a = make(1, 0, {0.25f, 0.25f, 0.0f});
    a.advance(0.6f);
    EXPECT_EQ(a.index, 2);
    a.advance(0.01f);
    EXPECT_EQ(a.index, 2);
}

TEST(Animation, NegativeFramesGiveNoTimeBack) {
    // Counting -1 as time given back would gain 0.75 s per cycle and never end.
    Animation a = make(0, 0, {0.25f, -1.0f});
    a.advance(0.3f);
    EXPECT_EQ(a.index, 0);
    EXPECT_FLOAT_EQ(a.time_left, 0.2f);
}

TEST(Animation, FramesTooShortToCountAgainstTheTimeHoldTheAnimation) {
    Animation a = make(2, 0, {1e-12f, 1e-12f, 1e-12f});
    a.advance(1.0f);  // 1.0f - 1e-12f == 1.0f: stepping would never use the time up
    EXPECT_EQ(a.index, 0);
    EXPECT_EQ(a.direction, 0);
    EXPECT_EQ(a.time_left, 1e-12f);
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
