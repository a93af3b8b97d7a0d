#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "Mechanisms/Pendulum.h"
#include "Render/Vector2.h"

class AnimatedSprite;
class GateTrigger;
class SoundEffect;
class TexturedSprite;

// A piston that rests at A, drives to B, rests and drives back, for ever. Its head carries a
// gate trigger; a textured rod may be stretched from the anchor to the head.
class Hammer : public Pendulum {
  public:
    enum State : int32_t { resting_at_a = 0, to_b = 1, resting_at_b = 2, to_a = 3 };

    ~Hammer() override;

    // Nothing until every part it needs is set.
    void draw(Renderer& renderer, const Color& tint) override;
    bool update(float dt) override;

    // Replaces the trigger; the new one goes into the trigger manager.
    void set_trigger(std::unique_ptr<GateTrigger> new_trigger);
    void add_speed_pair(float first, float second);
    void set_piston_locations(Vector2 a_, Vector2 b_);
    void set_crankshaft(std::unique_ptr<TexturedSprite> sprite);
    float next_speed();
    // Whether it has its sprites, trigger, rest and speed values and piston locations.
    bool complete() const;

    std::unique_ptr<AnimatedSprite> piston;
    std::unique_ptr<TexturedSprite> crankshaft;
    std::unique_ptr<GateTrigger> trigger;
    std::unique_ptr<SoundEffect> down_sound;
    std::unique_ptr<SoundEffect> up_sound;

    int32_t state = resting_at_a;
    Vector2 a{0, 0};
    Vector2 b{0, 0};
    Vector2 offset{0, 0};
    Vector2 direction{0, 0};
    float speed = 0.0f;
    int32_t speed_cursor = -1;
    std::vector<float> speed_values;
    float angle_difference = 0.0f;
    float crank_half_width = 0.0f;
    float crank_length = 0.0f;
    bool has_locations = false;

  private:
    // Moves the piston towards the target; true on arrival.
    bool step_towards(Vector2 target, float dt);
    void place_parts(float dt);
};

// The angle of a unit vector in [0, 2pi), measured from the x axis.
float direction_angle(Vector2 unit);
