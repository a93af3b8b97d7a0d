#include "Creatures/RunawayState.h"

#include <cmath>
#include <optional>

#include "Creatures/MovingCreature.h"
#include "Shell/Game.h"

Vector2 flee_target(Vector2 creature, Vector2 player) {
    const Vector2 away = creature - player;
    const float length = std::hypot(away.x, away.y);
    if (!(length > 0.0f) || !std::isfinite(length))
        return player + Vector2{RunawayState::flee_distance, 0.0f};
    return player + away * (RunawayState::flee_distance / length);
}

void RunawayState::update(float dt) {
    const Vector2 feet = creature->body.transform.position;
    const std::optional<Vector2> player = Game::instance().player_position();
    const Vector2 apart = player ? feet - *player : Vector2{};
    if (player && std::hypot(apart.x, apart.y) <= flee_distance) {
        target = flee_target(feet, *player);
        fleeing = true;
    } else if (fleeing) {
        // Back to the waypoint it was heading for: the walk is not moved on, and reaching the
        // flight's end point does not count as reaching that waypoint.
        target = next_waypoint(*agent, false).value_or(feet);
        fleeing = false;
        need_target = false;
    } else if (need_target) {
        target = next_waypoint(*agent, true).value_or(feet);
        need_target = false;
    }
    move_towards_target(dt);
}
