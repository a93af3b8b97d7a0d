#pragma once

#include <cstdint>

// A small deterministic generator for scenes built in tests: two runs from one seed draw the
// same numbers. between() draws from steps evenly spaced values.
struct Dice {
    uint32_t state;
    uint32_t steps = 100000;

    uint32_t next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<uint32_t>(n)); }
    float between(float lo, float hi) {
        return lo + (hi - lo) * (next() % steps) / static_cast<float>(steps);
    }
};
