#include "Shell/FrameTimer.h"

#include "Platform/Clock.h"

FrameTimer::FrameTimer(Clock& clock) : clock_(clock) {}

void FrameTimer::start() {
    previous_ = clock_.milliseconds();
}

float FrameTimer::next_frame() {
    uint32_t now = clock_.milliseconds();
    uint32_t interval = now - previous_;  // unsigned: a wrap of the timer still subtracts right
    previous_ = now;
    if (interval < min_interval_ms) {
        clock_.sleep(min_interval_ms - interval);
        interval = min_interval_ms;
    } else if (interval > max_interval_ms) {
        interval = max_interval_ms;
    }
    return static_cast<float>(interval) * 0.001f;
}
