#pragma once

#include <memory>

#include "Render/Animation.h"
#include "Scene/Particle.h"

// A particle showing the current frame of its own copy of an animation.
class AnimatedParticle : public Particle {
  public:
    // Copies the animation, or has none when it is null.
    explicit AnimatedParticle(const Animation* animation);

    void draw(Renderer& renderer, const Color& tint) override;
    bool update(float dt) override;
    std::unique_ptr<Particle> clone() const override;

    std::unique_ptr<Animation> animation;
};
