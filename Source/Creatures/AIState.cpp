#include "Creatures/AIState.h"

AIState::AIState(std::unique_ptr<AIAgent> a) : creature(a->creature), agent(std::move(a)) {
    agent->state = this;
}

AIState::~AIState() = default;
