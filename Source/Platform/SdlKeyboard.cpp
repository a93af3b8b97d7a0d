#include "Platform/SdlKeyboard.h"

#include <SDL.h>

SdlKeyboard& SdlKeyboard::instance() {
    static SdlKeyboard keyboard;
    return keyboard;
}

bool SdlKeyboard::is_down(int32_t vk) {
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    for (int32_t sc : VirtualKeys::scancodes(vk))
        if (sc > 0 && sc < count && state[sc])
            return true;
    return false;
}

bool SdlKeyboard::went_down(int32_t vk) {
    if (vk < 0 || vk >= VirtualKeys::count)
        return false;
    bool was = pressed_[vk];
    pressed_[vk] = false;
    return was;
}

void SdlKeyboard::key_pressed(int32_t scancode) {
    if (scancode <= 0)
        return;
    for (int32_t vk = 0; vk < VirtualKeys::count; ++vk)
        for (int32_t sc : VirtualKeys::scancodes(vk))
            if (sc == scancode)
                pressed_[vk] = true;
}
