#pragma once

#include <cstdint>

class Clock;

// Frame timing: at most one frame per 10 ms, and never more than 25 ms of game time per frame.
class FrameTimer {
  public:
    static constexpr uint32_t min_interval_ms = 10;
    static constexpr uint32_t max_interval_ms = 25;

    explicit FrameTimer(Clock& clock);
    // Takes the first timestamp.
    void start();
    // Measures the interval since the previous frame's timestamp (taken before any sleep, so a
    // sleep counts in the next interval), sleeps up to the 10 ms floor, and returns the clamped
    // interval in seconds.
    float next_frame();

  private:
    Clock& clock_;
    uint32_t previous_ = 0;
};
