#pragma once

#include <memory>

#include "Render/Color.h"
#include "Render/Transform.h"
#include "Render/Vector2.h"
#include "Scene/GameObject.h"

// A game object that shows a quad: four local corners placed by a transform, in a colour.
class Sprite : public GameObject {
  public:
    // A new object of the same visible state; the id is not copied.
    virtual std::unique_ptr<Sprite> clone() const = 0;

    // (-w, -h), (w, -h), (w, h), (-w, h): w and h are half the width and height.
    void set_half_size(float w, float h);

    Transform transform;
    // Lower-left, lower-right, upper-right, upper-left.
    Vector2 corners[4] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    Color colour{1, 1, 1, 1};

  protected:
    // Copies what every sprite shows, for clone.
    void copy_sprite_state(const Sprite& from);
};
