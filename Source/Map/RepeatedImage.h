#pragma once

#include "Render/Vector2.h"
#include "Scene/GameObject.h"

class Texture;

// A picture repeated without end across one or both axes, as Tiled's image layers with
// "repeat X" or "repeat Y": one quad over the copies in view, its texture set to repeat along
// the repeating axes.
class RepeatedImage : public GameObject {
  public:
    // top_left: the world position of one copy's top-left corner; size in world units.
    RepeatedImage(const Texture* texture, Vector2 top_left, Vector2 size, bool repeat_x,
                  bool repeat_y);

    void draw(Renderer& renderer, const Color& tint) override;
    bool update(float) override { return false; }

  private:
    const Texture* texture_;
    Vector2 top_left_, size_;
    bool repeat_x_, repeat_y_;
};
