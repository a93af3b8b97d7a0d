#include "Platform/EventPump.h"

#include <SDL.h>

#include "Platform/SdlKeyboard.h"

bool EventPump::pump() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT)
            return true;
        if (event.type == SDL_KEYDOWN && !event.key.repeat)
            SdlKeyboard::instance().key_pressed(event.key.keysym.scancode);
    }
    return false;
}

void EventPump::post_quit() {
    SDL_Event event{};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}
