#pragma once

#include <cstdint>
#include <memory>

#include "Platform/IntervalTimer.h"

class Renderer;
class Sprite;

// The player's hit points: a damage rate drains them over time, a delay follows the end of
// damage, then they regenerate. The death effect, a sprite, fades and scales with the missing
// health; without one the record does nothing at all.
struct Health {
    enum : int32_t { idle = 0, taking_damage = 1, waiting_to_recover = 2, regenerating = 3 };

    Health();
    ~Health();
    Health(const Health&) = delete;
    Health& operator=(const Health&) = delete;

    // One running frame with the player's centre point; true when the player is dead.
    bool update(float dt, float x, float y);
    // Back to full health, idle, for a new level.
    void reset();
    // rate += add - remove; a rate left at or below zero stops the damage.
    void damage(float add, float remove);
    // Full hit points, the pause before regenerating and the regeneration per frame.
    void set_hp(float max_hp, float delay, float regen);
    // The sprite that shows the missing health (a previous one is destroyed), and how it fades
    // and scales.
    void set_effect(std::unique_ptr<Sprite> sprite);
    void set_effect_look(float reset, float base, float full, float empty);
    // Draws the effect in white after the player, while health is not full.
    void draw_effect(Renderer& renderer) const;

    float max = 1.0f;
    float hp = 1.0f;
    // Hit points added per frame (not per second) while regenerating.
    float regeneration = 0.05f;
    // Seconds between the end of damage and the start of regeneration.
    float recovery_delay = 0.0f;
    // Damage per second; never negative.
    float rate = 0.0f;
    std::unique_ptr<Sprite> effect;
    float full_scale = 1.0f;
    float empty_scale = 0.000001f;
    float reset_alpha = 1.0f;
    float base_alpha = 0.0f;
    int32_t state = idle;
    IntervalTimer timer;

  private:
    // Alpha and scale of the effect from the missing fraction of hit points.
    void refresh_effect();
};
