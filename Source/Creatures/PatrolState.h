#pragma once

#include "Creatures/MoveState.h"

// Flies from waypoint to waypoint along the path.
class PatrolState : public MoveState {
  public:
    using MoveState::MoveState;
    void update(float dt) override;
};
