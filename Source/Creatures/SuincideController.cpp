#include "Creatures/SuincideController.h"

int32_t SuincideController::update(Entity&, float dt) {
    time_left -= dt;
    // A time that is not a number removes the entity rather than keeping it forever.
    return time_left > 0.0f ? 0 : entity_finished;
}
