#include "Mechanisms/Bullet.h"

#include "Audio/SoundEffect.h"
#include "Core/WalkGuard.h"
#include "Mechanisms/GateTrigger.h"
#include "Mechanisms/TriggerManager.h"
#include "Scene/RemorfableSprite.h"
#include "Shell/Game.h"

Bullet::Bullet() = default;

Bullet::~Bullet() {
    dispose_carried_trigger(std::move(trigger));
}

std::unique_ptr<Bullet> Bullet::copy() const {
    auto c = std::make_unique<Bullet>();
    c->id = id;
    if (graphics)
        c->graphics = graphics->copy();
    if (trigger) {
        std::unique_ptr<AreaTrigger> t = trigger->copy();
        c->trigger.reset(static_cast<GateTrigger*>(t.release()));
        if (c->graphics && c->graphics->target)
            c->trigger->transform = c->graphics->target->transform;
    }
    if (flying_sound)
        c->flying_sound = std::make_unique<SoundEffect>(*flying_sound);
    return c;
}

void Bullet::set_trigger(std::unique_ptr<GateTrigger> new_trigger) {
    if (!new_trigger)
        return;
    dispose_carried_trigger(std::move(trigger));
    trigger = std::move(new_trigger);
    enter_trigger_manager();
}

void Bullet::enter_trigger_manager() {
    if (!trigger)
        return;
    if (TriggerManager* manager = Game::instance().triggers.get())
        manager->add_carried(trigger.get());
}

void Bullet::draw(Renderer& renderer, const Color& tint) {
    if (graphics)
        graphics->draw(renderer, tint);
}

bool Bullet::update(float dt) {
    // Without graphics there is nothing to fly.
    if (!graphics)
        return true;
    const bool finished = graphics->update(dt);
    const Sprite* sprite = graphics->target.get();
    if (trigger && sprite)
        trigger->transform = sprite->transform;
    if (flying_sound && flying_sound->sound && sprite) {
        flying_sound->sound->x = sprite->transform.position.x;
        flying_sound->sound->y = sprite->transform.position.y;
        flying_sound->update(dt);
    }
    return finished;
}
