#include "Mechanisms/UnstableFloor.h"

#include <cmath>

#include "Audio/MusicRecord.h"
#include "Audio/Sound.h"
#include "Physics/SegmentStrip.h"
#include "Scene/AnimatedSprite.h"

UnstableFloor::UnstableFloor(float restore, float delay)
    : fall_delay(delay), restore_time(restore) {}

UnstableFloor::~UnstableFloor() {
    // A floor that goes while crumbling takes its crumble track with it.
    if (state == crumbling && crumble_music)
        crumble_music->stop();
}

void UnstableFloor::draw(Renderer& renderer, const Color& tint) {
    if (current_)
        current_->draw(renderer, tint);
}

void UnstableFloor::show(AnimatedSprite* next) {
    if (!next)
        return;
    if (current_ && current_->animation)
        current_->animation->reset();
    current_ = next;
}

void UnstableFloor::step_on() {
    if (!strip || !strip->enabled || state != solid)
        return;
    countdown = fall_delay;
    state = crumbling;
    show(crumbling_sprite.get());
    if (crumble_music)
        crumble_music->start();
}

bool UnstableFloor::update(float dt) {
    if (current_)
        current_->update(dt);
    if (state == solid || !strip || !(dt > 0.0f))
        return false;
    countdown -= dt;
    // A non-finite time (a script's NaN) ends the phase rather than leaving it stuck.
    if (countdown > 0.0f && std::isfinite(countdown))
        return false;
    if (state == crumbling) {
        countdown = restore_time;
        state = fallen;
        show(fallen_sprite.get());
        if (crumble_music)
            crumble_music->stop();
        if (fall_sound)
            fall_sound->play();
        strip->enabled = false;
    } else {
        state = solid;
        show(solid_sprite.get());
        if (restore_sound)
            restore_sound->play();
        strip->enabled = true;
    }
    return false;
}

void UnstableFloor::replace(std::unique_ptr<AnimatedSprite>& slot,
                            std::unique_ptr<AnimatedSprite> sprite) {
    if (!sprite)
        return;
    if (current_ == slot.get())
        current_ = nullptr;
    slot = std::move(sprite);
}

void UnstableFloor::set_solid_sprite(std::unique_ptr<AnimatedSprite> sprite) {
    replace(solid_sprite, std::move(sprite));
    current_ = solid_sprite.get();
}

void UnstableFloor::set_fallen_sprite(std::unique_ptr<AnimatedSprite> sprite) {
    const bool shown = current_ && current_ == fallen_sprite.get();
    replace(fallen_sprite, std::move(sprite));
    if (shown)
        current_ = fallen_sprite.get();
}

void UnstableFloor::set_crumbling_sprite(std::unique_ptr<AnimatedSprite> sprite) {
    const bool shown = current_ && current_ == crumbling_sprite.get();
    replace(crumbling_sprite, std::move(sprite));
    if (shown)
        current_ = crumbling_sprite.get();
}
