#pragma once

#include "Creatures/MoveState.h"

// Patrols, but flees while the player is near and then resumes its path where it left it.
class RunawayState : public MoveState {
  public:
    // Distance from the player within which the creature flees, and how far off it heads.
    static constexpr float flee_distance = 350.0f;

    using MoveState::MoveState;
    void update(float dt) override;

    bool fleeing = false;
};

// The point flee_distance from the player along the line from the player through the creature;
// straight to the right of the player when the two coincide.
Vector2 flee_target(Vector2 creature, Vector2 player);
