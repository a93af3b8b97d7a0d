#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Creatures/AIAgent.h"

namespace {

// The waypoint indices a fresh agent hands out over n advancing calls; -1 where it has none.
std::vector<int> walk(int count, bool loop, int n) {
    AIAgent agent;
    agent.loop = loop;
    for (int i = 0; i < count; ++i)
        agent.waypoints.push_back({static_cast<float>(i), 0.0f});
    std::vector<int> out;
    for (int i = 0; i < n; ++i) {
        std::optional<Vector2> p = next_waypoint(agent, true);
        out.push_back(p ? static_cast<int>(p->x) : -1);
    }
    return out;
}

}  // namespace

TEST(NextWaypoint, WalksLoopsAndBackAndForthPaths) {
    struct Case {
        int count;
        bool loop;
        std::vector<int> expected;
    } cases[] = {
        {3, true, {2, 0, 1, 2, 0, 1, 2}},
        {3, false, {2, 1, 0, 1, 2, 1, 0}},
        {2, true, {0, 1, 0, 1}},
        {2, false, {0, 1, 0, 1}},
        {1, true, {0, 0, 0}},
        // One point back and forth: the point, then nothing to go to at the turn, and so on.
        {1, false, {0, -1, 0, -1, 0}},
        {0, true, {-1, -1, -1}},
        {0, false, {-1, -1, -1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(walk(c.count, c.loop, static_cast<int>(c.expected.size())), c.expected)
            << c.count << " waypoints, loop " << c.loop;
}

TEST(NextWaypoint, WithoutAdvancingRepeatsTheTargetAndKeepsTheWalker) {
    AIAgent agent;
    agent.loop = false;
    agent.waypoints = {{0, 0}, {10, 0}, {20, 0}};
    // (target while advancing, index and step after it)
    struct Step {
        float target;
        int32_t index, step;
    } steps[] = {{20, 1, 1}, {10, 2, -1}, {0, 1, -1}, {10, 0, 1}};
    for (const Step& s : steps) {
        ASSERT_EQ(next_waypoint(agent, true), (Vector2{s.target, 0}));
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(next_waypoint(agent, false), (Vector2{s.target, 0}));
            EXPECT_EQ(agent.index, s.index);
            EXPECT_EQ(agent.step, s.step);
        }
    }
}
