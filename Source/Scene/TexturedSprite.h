#pragma once

#include "Scene/Sprite.h"

class Texture;

// A sprite showing a texture (or plain colour without one).
class TexturedSprite : public Sprite {
  public:
    explicit TexturedSprite(const Texture* texture) : texture(texture) {}

    void draw(Renderer& renderer, const Color& tint) override;
    bool update(float) override { return false; }
    std::unique_ptr<Sprite> clone() const override;

    // (left, bottom), (right, bottom), (right, top), (left, top).
    void set_tex_coords(float left, float bottom, float right, float top);

    const Texture* texture;  // not owned
    Vector2 tex_coords[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
};
