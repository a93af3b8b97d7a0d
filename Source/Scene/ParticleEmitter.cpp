#include "Scene/ParticleEmitter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "Core/Random.h"
#include "Shell/Game.h"

namespace {

// A fraction in [0, 1] from the engine's generator, so a seeded run repeats exactly.
float random_fraction() {
    return static_cast<float>(static_cast<double>(Random::next()) / Random::max);
}

// A value from [min, max]. Worked in double so that no difference of two large floats
// overflows; the result lies between the two and fits a float.
float from_range(float min, float max) {
    const double r = random_fraction();
    return static_cast<float>(min + (static_cast<double>(max) - min) * r);
}

// Stores the pair when it is usable: both finite and in order; brought within the limit.
void store_pair(float& min, float& max, float new_min, float new_max) {
    if (!std::isfinite(new_min) || !std::isfinite(new_max) || new_max < new_min)
        return;
    const float limit = ParticleEmitter::range_limit;
    min = std::clamp(new_min, -limit, limit);
    max = std::clamp(new_max, -limit, limit);
}

// A colour component an emitted particle can fade with: finite and within the limit.
float sane_component(float v) {
    if (std::isnan(v))
        return 0.0f;
    return std::clamp(v, -ParticleEmitter::range_limit, ParticleEmitter::range_limit);
}

Color sane(const Color& c) {
    return {sane_component(c.r), sane_component(c.g), sane_component(c.b), sane_component(c.a)};
}

}  // namespace

ParticleEmitter::ParticleEmitter(std::unique_ptr<Particle> t) : particle_template(std::move(t)) {}

bool ParticleEmitter::update(float dt) {
    update_near(dt, Game::instance().player_position());
    return one_shot && particles.empty();
}

void ParticleEmitter::draw(Renderer& renderer, const Color& tint) {
    draw_near(renderer, tint, Game::instance().player_position());
}

bool ParticleEmitter::is_near(std::optional<Vector2> player) const {
    if (!player)
        return true;
    const double dx = static_cast<double>(player->x) - transform.position.x;
    const double dy = static_cast<double>(player->y) - transform.position.y;
    const double d = near_distance;
    return dx * dx + dy * dy < d * d;
}

void ParticleEmitter::update_near(float dt, std::optional<Vector2> player) {
    if (!is_near(player))
        return;
    bool any_gone = false;
    for (std::unique_ptr<Particle>& p : particles) {
        if (!p->update(dt))
            continue;
        if (one_shot) {
            p.reset();
            any_gone = true;
            continue;
        }
        // Reborn at the emitter; direction, speed, spin and colours stay.
        p->transform.scale = p->start_scale;
        p->colour = p->start_colour;
        p->life = p->lifetime;
        p->transform.position = transform.position;
    }
    if (any_gone)
        std::erase(particles, nullptr);
}

void ParticleEmitter::draw_near(Renderer& renderer, const Color& tint,
                                std::optional<Vector2> player) {
    if (!is_near(player))
        return;
    for (const std::unique_ptr<Particle>& p : particles)
        p->draw(renderer, tint);
}

void ParticleEmitter::set_template(std::unique_ptr<Particle> t) {
    particle_template = std::move(t);
}

int32_t ParticleEmitter::emit(int32_t count) {
    if (!particle_template || count <= 0)
        return 0;
    const int32_t room = max_particles - static_cast<int32_t>(particles.size());
    const int32_t n = std::min(count, room);
    if (n <= 0)
        return 0;
    particles.reserve(particles.size() + static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i)
        emit_one();
    return n;
}

void ParticleEmitter::emit_one() {
    // The order of the random draws is part of the behaviour: a seeded game repeats itself.
    std::unique_ptr<Particle> p = particle_template->clone();
    p->start_scale = from_range(start_scale_min, start_scale_max);
    p->end_scale = separate_end_scale ? from_range(end_scale_min, end_scale_max) : p->start_scale;
    p->start_colour = sane(p->start_colour * colour);
    p->end_colour = sane(p->end_colour * colour);
    p->lifetime = from_range(life_min, life_max);
    p->life = p->lifetime;
    p->spin = from_range(spin_min, spin_max);
    const float a = spread * 2.0f * random_fraction() - spread;
    const float speed = from_range(speed_min, speed_max);
    // A rotation that is not a number would give every particle a velocity that is not one.
    Vector2 ax = transform.axis_x;
    if (!std::isfinite(ax.x) || !std::isfinite(ax.y))
        ax = {1.0f, 0.0f};
    const float c = std::cos(a), s = std::sin(a);
    p->velocity = Vector2{ax.x * c - ax.y * s, ax.y * c + ax.x * s} * speed;
    p->transform.position = transform.position;
    particles.push_back(std::move(p));
}

void ParticleEmitter::set_ranges(float life_lo, float life_hi, float spin_lo, float spin_hi,
                                 float speed_lo, float speed_hi) {
    store_pair(life_min, life_max, life_lo, life_hi);
    store_pair(spin_min, spin_max, spin_lo, spin_hi);
    store_pair(speed_min, speed_max, speed_lo, speed_hi);
}

void ParticleEmitter::set_scales(bool separate_end, float start_lo, float start_hi, float end_lo,
                                 float end_hi) {
    separate_end_scale = separate_end;
    store_pair(start_scale_min, start_scale_max, start_lo, start_hi);
    store_pair(end_scale_min, end_scale_max, end_lo, end_hi);
}

void ParticleEmitter::set_spread(float angle) {
    const float pi = 4.0f * std::atan(1.0f);
    if (!(angle > 0.0f))
        spread = 0.0f;  // negative or not a number
    else
        spread = std::min(angle, pi);
}
