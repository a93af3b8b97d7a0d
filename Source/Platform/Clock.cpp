#include "Platform/Clock.h"

#include "Platform/SdlClock.h"

namespace {
Clock* installed = nullptr;
}

Clock& Clock::current() {
    static SdlClock sdl_clock;
    return installed ? *installed : sdl_clock;
}

void Clock::set_current(Clock* clock) {
    installed = clock;
}
