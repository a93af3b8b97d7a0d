#include "Scene/AnimatedParticle.h"

#include "Scene/AnimatedSprite.h"

AnimatedParticle::AnimatedParticle(const Animation* template_animation) {
    if (template_animation)
        animation = std::make_unique<Animation>(*template_animation);
}

void AnimatedParticle::draw(Renderer& renderer, const Color& tint) {
    draw_current_frame(renderer, transform, corners, colour * tint, animation.get());
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
