#pragma once

#include <cstdint>

class Entity;

// Changes an entity over time; owned by the entity.
class EntityController {
  public:
    enum Flags : int32_t {
        controller_finished = 1,  // the entity destroys this controller
        entity_finished = 2,      // the entity asks its layer to destroy it
    };

    virtual ~EntityController() = default;
    virtual int32_t update(Entity& entity, float dt) = 0;
};
