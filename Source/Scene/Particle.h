#pragma once

#include <memory>

#include "Render/Color.h"
#include "Render/Transform.h"
#include "Render/Vector2.h"
#include "Scene/GameObject.h"

// A quad that flies, spins, changes colour and scale over its life. Particles made by scripts
// are templates; an emitter clones them and owns the clones.
class Particle : public GameObject {
  public:
    // A copy of the particle's state, with the current colour cleared.
    virtual std::unique_ptr<Particle> clone() const = 0;

    // (-w, -h), (w, -h), (w, h), (-w, h).
    void set_half_size(float w, float h);

    // Lower-left, lower-right, upper-right, upper-left.
    Vector2 corners[4] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    Transform transform;
    Vector2 velocity;   // world units per second
    float spin = 0.0f;  // radians per second, counter-clockwise
    Color start_colour{0, 0, 0, 0};
    Color end_colour{0, 0, 0, 0};
    Color colour{0, 0, 0, 0};
    float life = 0.0f;      // seconds left
    float lifetime = 0.0f;  // seconds of a whole life
    float start_scale = 1.0f;
    float end_scale = 1.0f;

  protected:
    // One step of life: colour, scale, position and axes follow the time left. True when the
    // life has run out.
    bool live(float dt);
    void copy_particle_state(const Particle& from);
};
