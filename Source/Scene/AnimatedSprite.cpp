#include "Scene/AnimatedSprite.h"

#include "Render/Renderer.h"
#include "Render/SubTexture.h"

AnimatedSprite::AnimatedSprite(const Animation* template_animation) {
    if (template_animation)
        animation = std::make_unique<Animation>(*template_animation);
}

void draw_current_frame(Renderer& renderer, const Transform& transform, const Vector2* corners,
                        const Color& colour, const Animation* animation) {
    const Animation::Frame* frame = animation ? animation->current_frame() : nullptr;
    const SubTexture* sub = frame ? frame->subtexture : nullptr;
    if (sub)
        renderer.draw_quad(transform, corners, colour, sub->texture, sub->corners);
    else
        renderer.draw_quad(transform, corners, colour, nullptr, nullptr);
}

void AnimatedSprite::draw(Renderer& renderer, const Color& tint) {
    draw_current_frame(renderer, transform, corners, colour * tint, animation.get());
}

bool AnimatedSprite::update(float dt) {
    if (animation)
        animation->advance(dt);
    return false;
}

std::unique_ptr<Sprite> AnimatedSprite::clone() const {
    auto copy = std::make_unique<AnimatedSprite>(animation.get());
    copy->copy_sprite_state(*this);
    return copy;
}
