#include "Platform/SdlClock.h"

#include <SDL.h>

uint32_t SdlClock::milliseconds() {
    return SDL_GetTicks();
}

void SdlClock::sleep(uint32_t ms) {
    SDL_Delay(ms);
}
