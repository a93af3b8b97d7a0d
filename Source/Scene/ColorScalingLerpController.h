#pragma once

#include "Render/Color.h"
#include "Scene/EntityController.h"

// Fades an entity's colour from one colour to another over a duration, then finishes with the
// target colour.
class ColorScalingLerpController : public EntityController {
  public:
    ColorScalingLerpController(const Color& from, const Color& to, float duration)
        : from_colour(from), to_colour(to), remaining(duration), duration(duration) {}

    int32_t update(Entity& entity, float dt) override;

    Color from_colour;
    Color to_colour;
    float remaining;  // seconds
    float duration;   // seconds
};
