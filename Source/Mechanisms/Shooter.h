#pragma once

#include <cstdint>
#include <memory>

#include "Mechanisms/Pendulum.h"

class AnimatedSprite;
class Bullet;
class Sound;

// Waits its rest time, then fires a copy of its template bullet into the bullet layer two frames
// later, and waits again.
class Shooter : public Pendulum {
  public:
    enum State : int32_t { waiting = 0, aiming = 1, firing = 2, recovering = 3 };

    Shooter();
    ~Shooter() override;

    // Nothing until it has its idle animation, a positive first rest and a bullet.
    void draw(Renderer& renderer, const Color& tint) override;
    bool update(float dt) override;

    // Replaces the template bullet.
    void set_bullet(std::unique_ptr<Bullet> bullet, int32_t layer);
    bool complete() const;

    std::unique_ptr<Bullet> template_bullet;
    std::unique_ptr<Sound> shooting_sound;
    int32_t state = waiting;
    int32_t bullet_layer = 0;
    bool has_bullet = false;

  private:
    void fire();
};
