#pragma once

#include <cstdint>

// The engine's own random numbers. Libraries may draw from the C generator on threads of their
// own (audio, drivers), which would make a seeded run differ from the next; this generator is
// only used on the main thread.
class Random {
  public:
    static constexpr uint32_t max = 0x7fffffff;

    static void seed(uint32_t value) { state() = value ? value : 1u; }

    // The next number in [0, max] (xorshift32).
    static uint32_t next() {
        uint32_t& x = state();
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        return x & max;
    }

  private:
    static uint32_t& state() {
        static uint32_t value = 1u;
        return value;
    }
};
