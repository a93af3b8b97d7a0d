#pragma once

#include <cstdint>

// Counts completed periods of a repeating interval; the owner consumes the ticks itself.
struct IntervalTimer {
    float period = 0.0f;
    float elapsed = 0.0f;
    int32_t ticks = 0;

    void set_period(float p) {
        if (!(p > 0.0f))
            return;
        period = p;
        elapsed = 0.0f;
        ticks = 0;
    }
    void advance(float dt) {
        if (!(dt > 0.0f) || !(period > 0.0f))
            return;
        elapsed += dt;
        while (elapsed >= period) {
            elapsed -= period;
            ++ticks;
        }
    }
};
