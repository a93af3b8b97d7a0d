#pragma once

#include <string>

#include "Mechanisms/Trigger.h"
#include "Platform/IntervalTimer.h"

// Fires its script when its period has passed: once, or once per period while repeat is on.
// Until it gets a positive period it stays idle.
class TimedTrigger : public Trigger {
  public:
    TimedTrigger() : Trigger(timed_type) {}

    int32_t type() const override { return timed_type; }
    void draw(Renderer&) const override {}

    // Sets repeat and restarts the timer; the period is taken only when it is positive.
    void set_repeat(float period, bool repeat);

    IntervalTimer timer;
    std::string script;
    bool repeat = false;
};
