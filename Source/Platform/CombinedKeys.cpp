#include "Platform/CombinedKeys.h"

#include "Platform/Gamepads.h"

bool CombinedKeys::is_down(int32_t vk) {
    return Keyboard::keyboard().is_down(vk) || Gamepads::instance().is_down(vk);
}

bool CombinedKeys::went_down(int32_t vk) {
    // Both are asked, so a press of one is not left waiting behind a press of the other.
    const bool key = Keyboard::keyboard().went_down(vk);
    const bool pad = Gamepads::instance().went_down(vk);
    return key || pad;
}
