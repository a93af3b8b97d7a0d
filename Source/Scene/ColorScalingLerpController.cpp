#include "Scene/ColorScalingLerpController.h"

#include "Scene/Entity.h"

int32_t ColorScalingLerpController::update(Entity& entity, float dt) {
    remaining -= dt;
    // Not "remaining <= 0": a duration that is not a number ends the fade at once instead of
    // making the colour not a number.
    if (!(remaining > 0.0f) || !(duration > 0.0f)) {
        entity.set_colour(to_colour.r, to_colour.g, to_colour.b, to_colour.a);
        return controller_finished;
    }
    const float k = remaining / duration;
    entity.set_colour(to_colour.r + k * (from_colour.r - to_colour.r),
                      to_colour.g + k * (from_colour.g - to_colour.g),
                      to_colour.b + k * (from_colour.b - to_colour.b),
                      to_colour.a + k * (from_colour.a - to_colour.a));
    return 0;
}
