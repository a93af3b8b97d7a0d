#include "Mechanisms/Hammer.h"

#include <cmath>
#include <numbers>

#include "Audio/SoundEffect.h"
#include "Core/WalkGuard.h"
#include "Mechanisms/GateTrigger.h"
#include "Mechanisms/TriggerManager.h"
#include "Scene/AnimatedSprite.h"
#include "Scene/TexturedSprite.h"
#include "Shell/Game.h"

namespace {

float length(Vector2 v) {
    return std::sqrt(dot(v, v));
}

// A finite, non-negative speed; anything else leaves the piston where it is.
float usable_speed(float s) {
    return std::isfinite(s) && s > 0.0f ? s : 0.0f;
}

}  // namespace

float direction_angle(Vector2 unit) {
    float c = unit.x;
    float a = c <= -1.0f ? std::numbers::pi_v<float> : c >= 1.0f ? 0.0f : std::acos(c);
    return unit.y >= 0.0f ? a : 2.0f * std::numbers::pi_v<float> - a;
}

Hammer::~Hammer() {
    dispose_carried_trigger(std::move(trigger));
}

void Hammer::set_trigger(std::unique_ptr<GateTrigger> new_trigger) {
    if (!new_trigger)
        return;
    dispose_carried_trigger(std::move(trigger));
    trigger = std::move(new_trigger);
    if (TriggerManager* manager = Game::instance().triggers.get())
        manager->add_carried(trigger.get());
}

void Hammer::add_speed_pair(float first, float second) {
    speed_values.push_back(first);
    speed_values.push_back(second);
}

void Hammer::set_piston_locations(Vector2 a_, Vector2 b_) {
    a = a_;
    b = b_;
    offset = a;
    const Vector2 stroke = a - b;
    const float len = length(stroke);
    // A stroke of no length (or of non-finite ends) cannot move the piston.
    has_locations = std::isfinite(len) && len > 0.0f;
    direction = has_locations ? stroke * (1.0f / len) : Vector2{0, 0};
}

void Hammer::set_crankshaft(std::unique_ptr<TexturedSprite> sprite) {
    if (!sprite)
        return;
    crankshaft = std::move(sprite);
    const Vector2 c0 = crankshaft->corners[0];
    crank_half_width = length(crankshaft->corners[3] - c0) / 2.0f;
    crank_length = length(crankshaft->corners[1] - c0);
}

float Hammer::next_speed() {
    if (speed_values.empty())
        return 0.0f;
    ++speed_cursor;
    if (speed_cursor < 0 || static_cast<size_t>(speed_cursor) >= speed_values.size())
        speed_cursor = 0;
    return speed_values[static_cast<size_t>(speed_cursor)];
}

bool Hammer::complete() const {
    return anchor_sprite && piston && trigger && has_positive_idle && !speed_values.empty() &&
           has_locations;
}

bool Hammer::step_towards(Vector2 target, float dt) {
    const Vector2 d = target - offset;
    const Vector2 v = direction * (speed * dt);
    if (length(d) < length(v)) {
        offset = target;
        return true;
    }
    offset += v;
    return false;
}

bool Hammer::update(float dt) {
    if (!complete() || !(dt >= 0.0f) || !std::isfinite(dt))
        return false;
    switch (state) {
        case resting_at_a:
        case resting_at_b:
            idle_timer.advance(dt);
            if (idle_timer.ticks > 0) {
                ++state;
                speed = usable_speed(next_speed());
                direction = -direction;
            }
            break;
        case to_b:
        case to_a: {
            SoundEffect* sound = state == to_b ? down_sound.get() : up_sound.get();
            if (sound && sound->sound) {
                sound->sound->x = piston->transform.position.x;
                sound->sound->y = piston->transform.position.y;
                sound->update(dt);
            }
            if (step_towards(state == to_b ? b : a, dt)) {
                state = state == to_b ? resting_at_b : resting_at_a;
                idle_timer.set_period(next_idle());
            }
            break;
        }
        default:
            state = resting_at_a;
            break;
    }
    place_parts(dt);
    return false;
}

void Hammer::place_parts(float dt) {
    const Vector2 anchor = transform.position;
    anchor_sprite->update(dt);
    anchor_sprite->transform.position = anchor;
    piston->update(dt);
    const Vector2 head = anchor + offset;
    trigger->transform.position = head;
    piston->transform.position = head;

    // At the anchor itself the piston has no direction of its own: it points along the stroke.
    float len = length(offset);
    const Vector2 stroke = b - a;
    Vector2 axis = len > 0.0f ? offset * (1.0f / len) : stroke * (1.0f / length(stroke));
    piston->transform.set_rotation(direction_angle(axis) + angle_difference);

    if (!crankshaft)
        return;
    crankshaft->update(dt);
    crankshaft->transform.position = anchor + offset * 0.5f;
    const Vector2 h = offset * 0.5f;
    const Vector2 w = Vector2{-axis.y, axis.x} * crank_half_width;
    crankshaft->corners[0] = -h + w;
    crankshaft->corners[1] = h + w;
    crankshaft->corners[2] = h - w;
    crankshaft->corners[3] = -h - w;
    const float u = crank_length > 0.0f ? len / crank_length : 0.0f;
    crankshaft->tex_coords[0] = {0, 0};
    crankshaft->tex_coords[1] = {u, 0};
    crankshaft->tex_coords[2] = {u, 1};
    crankshaft->tex_coords[3] = {0, 1};
}

void Hammer::draw(Renderer& renderer, const Color& tint) {
    if (!complete())
        return;
    anchor_sprite->draw(renderer, tint);
    piston->draw(renderer, tint);
    if (crankshaft)
        crankshaft->draw(renderer, tint);
}
