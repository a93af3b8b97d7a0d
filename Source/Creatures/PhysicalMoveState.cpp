#include "Creatures/PhysicalMoveState.h"

#include "Creatures/MovingCreature.h"
#include "Shell/Game.h"

PhysicalMoveState::PhysicalMoveState(std::unique_ptr<AIAgent> a) : AIState(std::move(a)) {
    target = creature->body.transform.position;
}

void PhysicalMoveState::update(float dt) {
    CreatureBody& body = creature->body;
    bool has_target = true;
    if (need_target) {
        const std::optional<Vector2> next = next_waypoint(*agent, true);
        has_target = next.has_value();
        if (next)
            target = *next;
        need_target = !has_target;
    }
    // Without a waypoint nothing pushes the creature; its physics still runs.
    bool moving_right = true;
    if (has_target) {
        const float push = body.speed * dt;
        body.driven = true;
        if (target.x < body.transform.position.x) {
            body.facing = -1;
            body.vx -= push;
            moving_right = false;
        } else {
            body.facing = 1;
            body.vx += push;
        }
    }
    body.step(dt, Game::instance().level.get());
    if (!has_target)
        return;
    const float x = body.transform.position.x;
    if ((moving_right && target.x <= x) || (!moving_right && target.x >= x))
        need_target = true;
}
