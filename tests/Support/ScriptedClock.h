#pragma once

#include <vector>

#include "Platform/Clock.h"

// A clock that moves only when told to, or by the time a sleep asks for.
class ScriptedClock : public Clock {
  public:
    uint32_t milliseconds() override { return now; }
    void sleep(uint32_t ms) override {
        sleeps.push_back(ms);
        now += ms;
    }

    uint32_t now = 1000;
    std::vector<uint32_t> sleeps;
};
