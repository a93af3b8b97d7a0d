#include "Scene/AnimatedParticle.h"

#include "Render/Renderer.h"
#include "Render/SubTexture.h"

AnimatedParticle::AnimatedParticle(const Animation* template_animation) {
    if (template_animation)
        animation = std::make_unique<Animation>(*template_animation);
}

void AnimatedParticle::draw(Renderer& renderer, const Color& tint) {
    const Animation::Frame* frame = animation ? animation->current_frame() : nullptr;
    const SubTexture* sub = frame ? frame->subtexture : nullptr;
    if (sub)
        renderer.draw_quad(transform, corners, colour * tint, sub->texture, sub->corners);
    else
        renderer.draw_quad(transform, corners, colour * tint, nullptr, nullptr);
}

bool AnimatedParticle::update(float dt) {
    if (animation)
        animation->advance(dt);
    return live(dt);
}

std::unique_ptr<Particle> AnimatedParticle::clone() const {
    auto copy = std::make_unique<AnimatedParticle>(animation.get());
    copy->copy_particle_state(*this);
    return copy;
}
