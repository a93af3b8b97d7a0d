#pragma once

#include "Platform/Clock.h"

// The real clock.
class SdlClock : public Clock {
  public:
    uint32_t milliseconds() override;
    void sleep(uint32_t ms) override;
};
