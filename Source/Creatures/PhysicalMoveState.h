#pragma once

#include "Creatures/AIState.h"
#include "Render/Vector2.h"

// Walks towards each waypoint's x through the creature's full physics, the way the player
// walks; it never jumps.
class PhysicalMoveState : public AIState {
  public:
    explicit PhysicalMoveState(std::unique_ptr<AIAgent> agent);
    void update(float dt) override;

    Vector2 target;
    bool need_target = true;
};
