#pragma once

#include "Creatures/AIState.h"
#include "Render/Vector2.h"

// Behaviours that move their creature in a straight line at its speed, ignoring gravity and
// ground.
class MoveState : public AIState {
  public:
    explicit MoveState(std::unique_ptr<AIAgent> agent);

    // One step towards the target; the step is taken in full, so the creature may pass the
    // target by less than a step. Arriving asks for a new target.
    void move_towards_target(float dt);

    Vector2 target;
    bool need_target = true;
};
