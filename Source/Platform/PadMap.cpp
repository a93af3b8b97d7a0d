#include "Platform/PadMap.h"

#include <cctype>

#include "Platform/VirtualKeys.h"

namespace {

const char* const names[pad::input_count] = {
    "south",
    "east",
    "west",
    "north",
    "back",
    "guide",
    "start",
    "left_stick_press",
    "right_stick_press",
    "left_shoulder",
    "right_shoulder",
    "dpad_up",
    "dpad_down",
    "dpad_left",
    "dpad_right",
    "misc",
    "paddle1",
    "paddle2",
    "paddle3",
    "paddle4",
    "touchpad",
    "left_stick_left",
    "left_stick_right",
    "left_stick_up",
    "left_stick_down",
    "right_stick_left",
    "right_stick_right",
    "right_stick_up",
    "right_stick_down",
    "left_trigger",
    "right_trigger",
};

bool valid(int32_t input) {
    return input >= 0 && input < pad::input_count;
}

}  // namespace

PadMap::PadMap() {
    reset();
}

void PadMap::reset() {
    keys_.fill(0);
    // Games are played with the arrows, space and Return; the d-pad and the left stick are the
    // arrows, and the buttons under the right thumb the other keys games read most.
    keys_[pad::dpad_up] = keys_[pad::left_stick_up] = vk::up;
    keys_[pad::dpad_down] = keys_[pad::left_stick_down] = vk::down;
    keys_[pad::dpad_left] = keys_[pad::left_stick_left] = vk::left;
    keys_[pad::dpad_right] = keys_[pad::left_stick_right] = vk::right;
    keys_[pad::south] = vk::space;
    keys_[pad::east] = vk::enter;
    keys_[pad::west] = vk::shift;
    keys_[pad::north] = vk::control;
    keys_[pad::start] = vk::enter;
    keys_[pad::back] = vk::escape;
}

int32_t PadMap::key(int32_t input) const {
    return valid(input) ? keys_[input] : 0;
}

void PadMap::set(int32_t input, int32_t code) {
    if (valid(input) && code >= 0 && code < VirtualKeys::count)
        keys_[input] = code;
}

int32_t PadMap::input(const std::string& text) {
    std::string lower;
    for (char c : text)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (int32_t i = 0; i < pad::input_count; ++i)
        if (lower == names[i])
            return i;
    return -1;
}

const char* PadMap::name(int32_t input) {
    return valid(input) ? names[input] : nullptr;
}
