#include "Creatures/PatrolState.h"

#include "Creatures/MovingCreature.h"

void PatrolState::update(float dt) {
    if (need_target) {
        // With nothing to go to the creature stays where it is.
        target = next_waypoint(*agent, true).value_or(creature->body.transform.position);
        need_target = false;
    }
    move_towards_target(dt);
}
