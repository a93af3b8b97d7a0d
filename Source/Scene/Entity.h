#pragma once

#include <memory>
#include <vector>

#include "Render/Color.h"
#include "Render/Transform.h"
#include "Scene/EntityController.h"
#include "Scene/GameObject.h"

// A game object with a transform, a colour and controllers that change it over time.
class Entity : public GameObject {
  public:
    // Runs the controllers in order, destroying those that finish; true when one says the
    // entity is finished.
    bool update(float dt) override;

    void add_controller(std::unique_ptr<EntityController> controller);
    // Components below 0 become 0; there is no upper limit.
    void set_colour(float red, float green, float blue, float alpha);

    std::vector<std::unique_ptr<EntityController>> controllers;
    Transform transform;
    Color colour{1, 1, 1, 1};
};
