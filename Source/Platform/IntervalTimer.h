#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

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
        for (int n = 0; elapsed >= period; ++n) {
            if (n == 1000) {
                // A period tiny next to the time passed would take (nearly) forever one at a
                // time: count the rest at once.
                const double whole = std::floor(static_cast<double>(elapsed) / period);
                const double limit = std::numeric_limits<int32_t>::max();
                ticks = static_cast<int32_t>(std::min(limit, ticks + whole));
                elapsed = std::isfinite(elapsed) ? std::fmod(elapsed, period) : 0.0f;
                return;
            }
            elapsed -= period;
            if (ticks < std::numeric_limits<int32_t>::max())
                ++ticks;
        }
    }
};
