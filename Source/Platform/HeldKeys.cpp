#include "Platform/HeldKeys.h"

namespace {
bool valid(int32_t vk) {
    return vk >= 0 && vk < VirtualKeys::count;
}
}  // namespace

void HeldKeys::set(int32_t vk, bool down) {
    if (!valid(vk))
        return;
    if (down && !down_[vk])
        pressed_[vk] = true;
    down_[vk] = down;
}

bool HeldKeys::is_down(int32_t vk) {
    return valid(vk) && down_[vk];
}

bool HeldKeys::went_down(int32_t vk) {
    if (!valid(vk))
        return false;
    bool was = pressed_[vk];
    pressed_[vk] = false;
    return was;
}
