#pragma once

#include <memory>

#include "Render/Animation.h"
#include "Scene/Sprite.h"

// A sprite showing the current frame of its own copy of an animation.
class AnimatedSprite : public Sprite {
  public:
    // Copies the animation, or has none when it is null.
    explicit AnimatedSprite(const Animation* animation);

    void draw(Renderer& renderer, const Color& tint) override;
    bool update(float dt) override;
    std::unique_ptr<Sprite> clone() const override;

    std::unique_ptr<Animation> animation;
};

// Draws the animation's current frame on the four corners, or a plain quad in the colour when
// there is no animation or no frame. Shared by everything that shows an animation.
void draw_current_frame(Renderer& renderer, const Transform& transform, const Vector2* corners,
                        const Color& colour, const Animation* animation);
