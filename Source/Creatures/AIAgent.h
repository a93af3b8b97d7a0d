#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "Render/Vector2.h"

class AIState;
class MovingCreature;

// A path of waypoints walked in a loop or back and forth, tied to the creature it drives. Each
// agent has its own copy of the path; its state owns it.
struct AIAgent {
    MovingCreature* creature = nullptr;
    AIState* state = nullptr;
    std::vector<Vector2> waypoints;
    // The walker's place in the list; it lags one waypoint behind the target handed out.
    int32_t index = 0;
    // true: after the last waypoint the walk starts again at the first; false: it turns back.
    bool loop = false;
    // Direction of travel along the list, +1 or -1.
    int32_t step = 1;
};

// The next target along the agent's path, moving the walker on first when advance is set. None
// when the path has nothing to go to (no waypoints, or a one-point path walked back and forth
// at its turn): the creature then stays where it is.
std::optional<Vector2> next_waypoint(AIAgent& agent, bool advance);
