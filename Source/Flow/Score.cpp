#include "Flow/Score.h"

#include <algorithm>
#include <limits>

namespace {

int32_t saturate(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

void restart(IntervalTimer& timer) {
    timer.period = 1.0f;
    timer.elapsed = 0.0f;
    timer.ticks = 0;
}

}  // namespace

Score::Score() {
    restart(level_timer);
}

void Score::reset(int32_t limit, int32_t max) {
    time_limit = limit;
    max_combo = max;
    points = 0;
    combo = 0;
    restart(level_timer);
    point_levels.clear();
}

void Score::set_settings(int32_t per_second, int32_t divisor) {
    points_per_second = per_second;
    if (divisor > 0)
        combo_divisor = divisor;
}

int32_t Score::multiplier() const {
    // 1 + combo / divisor, worked wide so that no sum leaves the range.
    return saturate((static_cast<int64_t>(combo) + combo_divisor) / combo_divisor);
}

void Score::add(int32_t won) {
    combo = saturate(static_cast<int64_t>(combo) + 1);
    points = saturate(static_cast<int64_t>(points) + static_cast<int64_t>(won) * multiplier());
}

int32_t Score::timed_points() const {
    const int32_t ticks = level_timer.ticks;
    if (ticks >= time_limit)
        return 0;
    return saturate((static_cast<int64_t>(time_limit) - ticks) * points_per_second);
}

void Score::add_level(int32_t min_points, const std::string& name) {
    point_levels.push_back({min_points, name});
}

const char* Score::level_for(int32_t p) const {
    // The greatest least-points not above p wins; the first added wins a tie. A grade whose
    // least-points is 0 or below is never chosen.
    int32_t best = 0;
    const PointLevel* chosen = nullptr;
    for (const PointLevel& level : point_levels) {
        if (level.min_points <= p && level.min_points > best) {
            best = level.min_points;
            chosen = &level;
        }
    }
    return chosen ? chosen->name.c_str() : "failed";
}

void Score::advance_timer(float dt) {
    if (timer_running)
        level_timer.advance(dt);
}
