#include "Scene/TexturedParticle.h"

#include "Render/Renderer.h"

void TexturedParticle::draw(Renderer& renderer, const Color& tint) {
    renderer.draw_quad(transform, corners, colour * tint, texture, tex_coords);
}

std::unique_ptr<Particle> TexturedParticle::clone() const {
    auto copy = std::make_unique<TexturedParticle>(texture);
    copy->copy_particle_state(*this);
    for (int i = 0; i < 4; ++i)
        copy->tex_coords[i] = tex_coords[i];
    return copy;
}

void TexturedParticle::set_tex_coords(float left, float bottom, float right, float top) {
    tex_coords[0] = {left, bottom};
    tex_coords[1] = {right, bottom};
    tex_coords[2] = {right, top};
    tex_coords[3] = {left, top};
}
