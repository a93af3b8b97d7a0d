#pragma once

#include <cstdint>
#include <vector>

#include "Flow/PointLevel.h"
#include "Platform/IntervalTimer.h"

// The points total with its combo multiplier, the level timer counting whole seconds, the time
// bonus and the grades. The engine applies no scoring rule: scripts decide when points are won.
// Sums and products that leave the 32-bit range stop at its ends.
class Score {
  public:
    Score();

    // Points, combo and the timer's count back to 0; the grades are dropped.
    void reset(int32_t time_limit, int32_t max_combo);
    // A divisor that is not positive would make no multiplier: the previous one is kept, the
    // points per second are stored either way.
    void set_settings(int32_t points_per_second, int32_t combo_divisor);
    // Raises the combo, then adds points times the multiplier.
    void add(int32_t points);
    int32_t multiplier() const;
    int32_t time() const { return level_timer.ticks; }
    // The points the seconds left under the time limit are worth; 0 at or past it.
    int32_t timed_points() const;
    void add_level(int32_t min_points, const std::string& name);
    // The name of the best grade those points reach, or "failed".
    const char* level_for(int32_t points) const;
    // Called once a frame: advances the timer while it runs.
    void advance_timer(float dt);

    int32_t points_per_second = 0;
    int32_t points = 0;
    int32_t combo = 0;
    int32_t max_combo = 0;
    int32_t combo_divisor = 1;
    int32_t time_limit = 1;
    IntervalTimer level_timer;
    bool timer_running = false;
    std::vector<PointLevel> point_levels;
};
