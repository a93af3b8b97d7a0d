#include "Mechanisms/Pendulum.h"

#include "Scene/AnimatedSprite.h"

Pendulum::Pendulum() = default;
Pendulum::~Pendulum() = default;

void Pendulum::add_idle_pair(float first, float second) {
    idle_values.push_back(first);
    idle_values.push_back(second);
    idle_timer = IntervalTimer{};
    idle_timer.set_period(first);
    if (first > 0.0f)
        has_positive_idle = true;
}

float Pendulum::next_idle() {
    if (idle_values.empty())
        return 0.0f;
    ++idle_cursor;
    if (static_cast<uint32_t>(idle_cursor) >= idle_values.size())
        idle_cursor = 0;
    return idle_values[static_cast<size_t>(idle_cursor)];
}
