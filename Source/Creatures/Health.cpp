#include "Creatures/Health.h"

#include <cmath>

#include "Render/Renderer.h"
#include "Scene/Sprite.h"

Health::Health() = default;
Health::~Health() = default;

bool Health::update(float dt, float x, float y) {
    if (!effect)
        return false;
    switch (state) {
        case taking_damage:
            refresh_effect();
            if (hp <= 0.0f)
                return true;
            hp -= rate * dt;
            // An infinite rate or frame time empties the player; it never poisons the numbers.
            if (!std::isfinite(hp))
                hp = 0.0f;
            timer = IntervalTimer{};
            timer.set_period(recovery_delay);
            break;
        case waiting_to_recover:
            // Damage that stopped before any frame drained it has not started the wait yet.
            if (!(timer.period > 0.0f))
                timer.set_period(recovery_delay);
            timer.advance(dt);
            // Without a positive delay there is nothing to wait for: recovery starts at once.
            if (timer.ticks != 0 || !(timer.period > 0.0f)) {
                state = regenerating;
                timer = IntervalTimer{};
            }
            break;
        case regenerating:
            hp += regeneration;
            if (!std::isfinite(hp) || hp >= max) {
                state = idle;
                hp = max;
            }
            refresh_effect();
            break;
        default:
            return false;
    }
    effect->transform.position = {x, y};
    return false;
}

void Health::reset() {
    rate = 0.0f;
    hp = max;
    timer = IntervalTimer{};
    state = idle;
    if (effect) {
        effect->colour.a = reset_alpha;
        effect->transform.scale = full_scale;
    }
}

void Health::damage(float add, float remove) {
    rate = rate + add - remove;
    // Not-a-number counts as no damage.
    if (rate > 0.0f) {
        state = taking_damage;
    } else {
        rate = 0.0f;
        state = waiting_to_recover;
    }
}

void Health::set_hp(float max_hp, float delay, float regen) {
    // A value that is not a finite number leaves its field as it was.
    if (std::isfinite(max_hp)) {
        max = max_hp;
        hp = max_hp;
    }
    if (std::isfinite(delay))
        recovery_delay = delay;
    if (std::isfinite(regen))
        regeneration = regen;
}

void Health::set_effect(std::unique_ptr<Sprite> sprite) {
    effect = std::move(sprite);
}

void Health::set_effect_look(float reset, float base, float full, float empty) {
    reset_alpha = reset;
    base_alpha = base;
    full_scale = full;
    empty_scale = empty;
}

void Health::draw_effect(Renderer& renderer) const {
    if (effect && hp != max)
        effect->draw(renderer, Color{1, 1, 1, 1});
}

void Health::refresh_effect() {
    // With no hit points to lose, health counts as all gone.
    float missing = max > 0.0f ? 1.0f - hp / max : 1.0f;
    if (!std::isfinite(missing))
        missing = 1.0f;
    effect->colour.a = missing * (reset_alpha - base_alpha);
    effect->transform.scale = full_scale - (full_scale - empty_scale) * missing;
}
