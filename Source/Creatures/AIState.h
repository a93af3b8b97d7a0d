#pragma once

#include <memory>

#include "Creatures/AIAgent.h"

class MovingCreature;

// A behaviour that drives one creature, updated once per frame by the game before the level.
// The state owns its agent (the creature's own copy of its path).
class AIState {
  public:
    explicit AIState(std::unique_ptr<AIAgent> agent);
    virtual ~AIState();
    AIState(const AIState&) = delete;
    AIState& operator=(const AIState&) = delete;

    virtual void update(float dt) = 0;

    MovingCreature* creature;
    std::unique_ptr<AIAgent> agent;
};
