#pragma once

#include <cstdint>

// Millisecond clock and sleep. The engine reads the process-wide clock; tests install a scripted
// one.
class Clock {
  public:
    virtual ~Clock() = default;
    // Milliseconds since start; wraps around after 2^32.
    virtual uint32_t milliseconds() = 0;
    virtual void sleep(uint32_t ms) = 0;

    static Clock& current();
    // Installs a clock (not owned); null restores the SDL clock.
    static void set_current(Clock* clock);
};
