#include "Mechanisms/Door.h"

#include "Audio/Sound.h"
#include "Mechanisms/LeverDoorRegistry.h"
#include "Scene/AnimatedSprite.h"

void restart_animation(GameObject* sprite) {
    if (auto* animated = dynamic_cast<AnimatedSprite*>(sprite))
        if (animated->animation)
            animated->animation->reset();
}

Door::Door(LeverDoorRegistry& registry, std::unique_ptr<Sprite> open,
           std::unique_ptr<Sprite> closed, std::unique_ptr<Collider> collider, bool is_closed)
    : open_sprite(std::move(open)),
      closed_sprite(std::move(closed)),
      collider_template(std::move(collider)),
      registry_(&registry),
      closed_(is_closed) {
    current_ = closed_ ? closed_sprite.get() : open_sprite.get();
    registry.add_door(this);
}

Door::~Door() {
    if (LeverDoorRegistry* registry = registry_.get())
        registry->forget_door(this);
}

void Door::draw(Renderer& renderer, const Color& tint) {
    if (current_)
        current_->draw(renderer, tint);
}

bool Door::update(float dt) {
    return current_ ? current_->update(dt) : false;
}

void Door::set_open(bool open) {
    LeverDoorRegistry* registry = registry_.get();
    if (open) {
        if (!closed_) {
            restart_animation(current_);
            return;
        }
        current_ = open_sprite.get();
        if (opening_sound)
            opening_sound->play();
        if (registry && collider_template)
            remove_collider(registry->colliders, collider_template->id);
        closed_ = false;
        return;
    }
    if (closed_)
        return;
    restart_animation(current_);
    current_ = closed_sprite.get();
    if (closing_sound)
        closing_sound->play();
    if (registry && collider_template)
        registry->colliders.push_back(collider_template->copy());
    closed_ = true;
}
