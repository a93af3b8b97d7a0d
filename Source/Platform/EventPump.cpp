#include "Platform/EventPump.h"

#include <SDL.h>

#include "Platform/Gamepads.h"
#include "Platform/SdlKeyboard.h"

bool EventPump::pump() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT)
            return true;
        if (event.type == SDL_KEYDOWN && !event.key.repeat)
            SdlKeyboard::instance().key_pressed(event.key.keysym.scancode);
        if (event.type >= SDL_CONTROLLERAXISMOTION && event.type <= SDL_CONTROLLERDEVICEREMAPPED)
            Gamepads::instance().handle(event);
    }
    return false;
}

void EventPump::post_quit() {
    SDL_Event event{};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}
