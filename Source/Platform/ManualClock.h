#pragma once

#include "Platform/Clock.h"

// A clock that moves only when the program advances it; a sleep moves it instead of waiting.
// The headless runner runs on it, so game time does not depend on how fast the machine is.
class ManualClock : public Clock {
  public:
    uint32_t milliseconds() override { return now_; }
    void sleep(uint32_t ms) override { now_ += ms; }
    void advance(uint32_t ms) { now_ += ms; }

  private:
    uint32_t now_ = 0;
};
