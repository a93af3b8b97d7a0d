#include "Mechanisms/Shooter.h"

#include "Audio/Sound.h"
#include "Core/WalkGuard.h"
#include "Mechanisms/Bullet.h"
#include "Scene/AnimatedSprite.h"
#include "Scene/Level.h"
#include "Shell/Game.h"

Shooter::Shooter() : template_bullet(std::make_unique<Bullet>()) {}

Shooter::~Shooter() {
    // The template's trigger may be the one whose script is removing this shooter.
    WalkGuard::dispose(std::move(template_bullet));
}

void Shooter::set_bullet(std::unique_ptr<Bullet> bullet, int32_t layer) {
    if (!bullet)
        return;
    WalkGuard::dispose(std::move(template_bullet));
    template_bullet = std::move(bullet);
    bullet_layer = layer;
    has_bullet = true;
}

bool Shooter::complete() const {
    return anchor_sprite && has_positive_idle && has_bullet && template_bullet;
}

void Shooter::draw(Renderer& renderer, const Color& tint) {
    if (complete())
        anchor_sprite->draw(renderer, tint);
}

bool Shooter::update(float dt) {
    if (!complete())
        return false;
    anchor_sprite->transform.position = transform.position;
    switch (state) {
        case waiting:
            idle_timer.advance(dt);
            anchor_sprite->update(dt);
            if (idle_timer.ticks > 0) {
                idle_timer.set_period(next_idle());
                if (anchor_sprite->animation)
                    anchor_sprite->animation->reset();
                state = aiming;
            }
            break;
        case aiming:
            state = firing;
            break;
        case firing:
            state = recovering;
            fire();
            break;
        default:
            state = waiting;
            break;
    }
    return false;
}

void Shooter::fire() {
    Level* level = Game::instance().level.get();
    Layer* layer = level ? level->layer_at(bullet_layer) : nullptr;
    // A bullet layer that names no layer of the current level fires nothing.
    if (!layer)
        return;
    std::unique_ptr<Bullet> shot = template_bullet->copy();
    shot->enter_trigger_manager();
    level->add_object(*layer, std::move(shot));
    if (shooting_sound)
        shooting_sound->play();
}
