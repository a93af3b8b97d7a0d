#pragma once

#include "Scene/Particle.h"

class Texture;

// A particle showing a texture (or plain colour without one).
class TexturedParticle : public Particle {
  public:
    explicit TexturedParticle(const Texture* texture) : texture(texture) {}

    void draw(Renderer& renderer, const Color& tint) override;
    bool update(float dt) override { return live(dt); }
    std::unique_ptr<Particle> clone() const override;

    // (left, bottom), (right, bottom), (right, top), (left, top).
    void set_tex_coords(float left, float bottom, float right, float top);

    const Texture* texture;  // not owned
    Vector2 tex_coords[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
};
