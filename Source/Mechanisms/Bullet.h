#pragma once

#include <memory>

#include "Scene/GameObject.h"

class GateTrigger;
class RemorfableSprite;
class SoundEffect;

// A key-frame sprite that carries a gate trigger and may sound while it flies; it is finished
// when its key frames run out.
class Bullet : public GameObject {
  public:
    Bullet();
    // A shot: the same id, copies of the graphics, trigger and flying sound, with the trigger
    // placed on the graphics. The copy's trigger is not yet in the trigger manager.
    std::unique_ptr<Bullet> copy() const;
    ~Bullet() override;

    void draw(Renderer& renderer, const Color& tint) override;
    bool update(float dt) override;

    // Replaces the trigger; the new one goes into the trigger manager.
    void set_trigger(std::unique_ptr<GateTrigger> new_trigger);
    // Puts the trigger into the trigger manager (a fired copy).
    void enter_trigger_manager();

    std::unique_ptr<RemorfableSprite> graphics;
    std::unique_ptr<GateTrigger> trigger;
    std::unique_ptr<SoundEffect> flying_sound;
};
