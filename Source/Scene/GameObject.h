#pragma once

#include <cstdint>

#include "Core/Tracked.h"
#include "Render/Color.h"

class Renderer;

// Everything that lives in a layer.
class GameObject : public Tracked {
  public:
    GameObject() = default;
    GameObject(const GameObject&) = default;
    virtual ~GameObject() = default;

    // Draws with the tint multiplied into the object's own colour.
    virtual void draw(Renderer& renderer, const Color& tint) = 0;
    // Advances by dt seconds; true asks the owning layer to destroy the object.
    virtual bool update(float dt) = 0;

    int32_t id = 0;
};
