#pragma once

#include <memory>

#include "Render/Vector2.h"
#include "Scene/GameObject.h"

struct Transform;

// Keeps its target at a fixed offset from the camera, so it stays in its place on the screen.
class Hud : public GameObject {
  public:
    // The offset is the target's position when the Hud is made.
    explicit Hud(std::unique_ptr<GameObject> target);

    void draw(Renderer& renderer, const Color& tint) override;
    bool update(float dt) override;

    // The placement of a sprite, an entity or a key-frame sprite's target; null for objects
    // without one.
    static Transform* placement(GameObject& object);

    std::unique_ptr<GameObject> target;
    Vector2 offset{0, 0};
};
