#include "Creatures/AIAgent.h"

namespace {

// Comparisons with the count are made unsigned, so a negative position counts as past the end.
bool past_end(int64_t i, size_t count) {
    return i < 0 || static_cast<uint64_t>(i) >= count;
}

int32_t narrow(int64_t v) {
    // The walker never strays more than one step outside the list; keep it in range anyway.
    if (v > INT32_MAX)
        return INT32_MAX;
    if (v < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(v);
}

}  // namespace

std::optional<Vector2> next_waypoint(AIAgent& agent, bool advance) {
    const size_t count = agent.waypoints.size();
    if (agent.step != 1 && agent.step != -1)
        agent.step = agent.step < 0 ? -1 : 1;
    if (advance) {
        agent.index = narrow(int64_t{agent.index} + agent.step);
        if (agent.loop && past_end(agent.index, count))
            agent.index = 0;
    }
    int64_t d = int64_t{agent.index} + agent.step;
    if (past_end(d, count)) {
        if (agent.loop) {
            d = 0;
        } else {
            agent.step = -agent.step;
            d = int64_t{agent.index} + agent.step;
        }
    }
    if (past_end(d, count))
        return std::nullopt;
    return agent.waypoints[static_cast<size_t>(d)];
}
