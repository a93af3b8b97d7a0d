#include "Scene/Particle.h"

#include <cmath>

void Particle::set_half_size(float w, float h) {
    corners[0] = {-w, -h};
    corners[1] = {w, -h};
    corners[2] = {w, h};
    corners[3] = {-w, h};
}

bool Particle::live(float dt) {
    life -= dt;
    // Also ends a life that is not a number, so k below is always a fraction.
    if (!(life > 0.0f))
        return true;
    // 1 at birth, falling to 0.
    const float k = life / lifetime;
    colour.r = end_colour.r + k * (start_colour.r - end_colour.r);
    colour.g = end_colour.g + k * (start_colour.g - end_colour.g);
    colour.b = end_colour.b + k * (start_colour.b - end_colour.b);
    colour.a = end_colour.a + k * (start_colour.a - end_colour.a);
    transform.scale = end_scale + k * (start_scale - end_scale);
    transform.position += velocity * dt;
    const float turn = dt * spin;
    if (turn != 0.0f) {
        const float c = std::cos(turn), s = std::sin(turn);
        Vector2& ax = transform.axis_x;
        Vector2& ay = transform.axis_y;
        ax = {ax.x * c - ax.y * s, ax.x * s + ax.y * c};
        ay = {ay.x * c - ay.y * s, ay.x * s + ay.y * c};
    }
    return false;
}

void Particle::copy_particle_state(const Particle& from) {
    for (int i = 0; i < 4; ++i)
        corners[i] = from.corners[i];
    transform = from.transform;
    velocity = from.velocity;
    spin = from.spin;
    start_colour = from.start_colour;
    end_colour = from.end_colour;
    colour = {0, 0, 0, 0};
    life = from.life;
    lifetime = from.lifetime;
    start_scale = from.start_scale;
    end_scale = from.end_scale;
}
