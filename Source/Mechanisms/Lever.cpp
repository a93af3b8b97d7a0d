#include "Mechanisms/Lever.h"

#include "Audio/Sound.h"
#include "Mechanisms/Door.h"
#include "Mechanisms/LeverDoorRegistry.h"
#include "Scene/Sprite.h"

Lever::Lever(LeverDoorRegistry& registry, std::unique_ptr<Sprite> off,
             std::unique_ptr<Sprite> on_look, bool is_on)
    : off_sprite(std::move(off)), on_sprite(std::move(on_look)), registry_(&registry), on_(is_on) {
    current_ = on_ ? on_sprite.get() : off_sprite.get();
    registry.add_lever(this);
}

Lever::~Lever() {
    if (LeverDoorRegistry* registry = registry_.get())
        registry->forget_lever(this);
}

void Lever::draw(Renderer& renderer, const Color& tint) {
    if (current_)
        current_->draw(renderer, tint);
}

bool Lever::update(float dt) {
    return current_ ? current_->update(dt) : false;
}

bool Lever::toggle() {
    restart_animation(current_);
    const bool was_on = on_;
    current_ = was_on ? off_sprite.get() : on_sprite.get();
    if (Sound* sound = was_on ? off_sound.get() : on_sound.get())
        sound->play();
    on_ = !was_on;
    return was_on;
}
