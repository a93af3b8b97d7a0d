#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "Platform/IntervalTimer.h"
#include "Render/Transform.h"
#include "Scene/GameObject.h"

// The common part of hammers and shooters: an anchor point and a cycle of rest times.
class AnimatedSprite;

class Pendulum : public GameObject {
  public:
    // Appends both rest times and starts the rest timer over, timing first when it is positive.
    void add_idle_pair(float first, float second);
    // The rest time after the current one, cyclically; from a new pendulum, the second value.
    float next_idle();

    Pendulum();
    ~Pendulum() override;

    Transform transform;
    // Drawn at the anchor: a hammer's cylinder, a shooter's idle animation.
    std::unique_ptr<AnimatedSprite> anchor_sprite;
    IntervalTimer idle_timer;
    int32_t idle_cursor = 0;
    std::vector<float> idle_values;
    // Some pair gave a positive first rest: without one the pendulum would never start.
    bool has_positive_idle = false;
};
