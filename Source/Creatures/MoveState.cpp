#include "Creatures/MoveState.h"

#include <cmath>

#include "Creatures/MovingCreature.h"

MoveState::MoveState(std::unique_ptr<AIAgent> a) : AIState(std::move(a)) {
    target = creature->body.transform.position;
}

void MoveState::move_towards_target(float dt) {
    CreatureBody& body = creature->body;
    const Vector2 position = body.transform.position;
    const Vector2 to_target = target - position;
    const float dist = std::hypot(to_target.x, to_target.y);
    // Standing on the target is an arrival; a target beyond reach of the numbers is given up.
    if (!(dist > 0.0f) || !std::isfinite(dist)) {
        need_target = true;
        return;
    }
    Vector2 v = to_target * (body.speed * dt / dist);
    // A step too large to compute lands on the target.
    if (!std::isfinite(v.x) || !std::isfinite(v.y))
        v = to_target;
    if (std::hypot(v.x, v.y) >= dist)
        need_target = true;
    const Vector2 next = position + v;
    if (!std::isfinite(next.x) || !std::isfinite(next.y)) {
        need_target = true;
        return;
    }
    body.transform.position = next;
    body.facing = v.x < 0.0f ? -1 : 1;
}
