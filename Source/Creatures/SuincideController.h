#pragma once

#include "Scene/EntityController.h"

// Removes its entity once its time is up. It never finishes on its own, so it stays until its
// entity goes.
class SuincideController : public EntityController {
  public:
    explicit SuincideController(float time_left) : time_left(time_left) {}

    int32_t update(Entity& entity, float dt) override;

    float time_left;  // seconds
};
