#include "Mechanisms/TimedTrigger.h"

void TimedTrigger::set_repeat(float period, bool repeat_on) {
    repeat = repeat_on;
    timer = IntervalTimer{};
    timer.set_period(period);
}
