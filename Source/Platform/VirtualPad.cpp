#include "Platform/VirtualPad.h"

#include <SDL.h>

#include "Platform/PadMap.h"

namespace {

// The axis an input moves, its end in that direction and its place at rest. SDL spreads a
// trigger's whole range of the joystick axis over the trigger's travel: it rests at the low end.
constexpr int16_t low = -32768, high = 32767;
struct AxisEnd {
    int32_t input;
    SDL_GameControllerAxis axis;
    int16_t end, rest;
};
constexpr AxisEnd axis_ends[] = {
    {pad::left_stick_left, SDL_CONTROLLER_AXIS_LEFTX, low, 0},
    {pad::left_stick_right, SDL_CONTROLLER_AXIS_LEFTX, high, 0},
    {pad::left_stick_up, SDL_CONTROLLER_AXIS_LEFTY, low, 0},
    {pad::left_stick_down, SDL_CONTROLLER_AXIS_LEFTY, high, 0},
    {pad::right_stick_left, SDL_CONTROLLER_AXIS_RIGHTX, low, 0},
    {pad::right_stick_right, SDL_CONTROLLER_AXIS_RIGHTX, high, 0},
    {pad::right_stick_up, SDL_CONTROLLER_AXIS_RIGHTY, low, 0},
    {pad::right_stick_down, SDL_CONTROLLER_AXIS_RIGHTY, high, 0},
    {pad::left_trigger, SDL_CONTROLLER_AXIS_TRIGGERLEFT, high, low},
    {pad::right_trigger, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, high, low},
};

}  // namespace

std::unique_ptr<VirtualPad> VirtualPad::attach() {
    // No person holds this pad: its input counts whether or not the window has the focus
    // (SDL ignores pads of an unfocused window by default, and of several windows sharing one
    // X server only one has it).
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0)
        return nullptr;
    // A virtual joystick of the game-controller type gets SDL's standard layout: its buttons
    // and axes in the order of SDL's game-controller buttons and axes.
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER,
                                                SDL_CONTROLLER_AXIS_MAX, pad::button_count, 0);
    SDL_Joystick* joystick = index < 0 ? nullptr : SDL_JoystickOpen(index);
    if (!joystick) {
        if (index >= 0)
            SDL_JoystickDetachVirtual(index);
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        return nullptr;
    }
    for (const AxisEnd& a : axis_ends)
        SDL_JoystickSetVirtualAxis(joystick, a.axis, a.rest);
    return std::unique_ptr<VirtualPad>(new VirtualPad(joystick));
}

VirtualPad::~VirtualPad() {
    // Device indices shift as devices come and go; the instance id finds this pad's.
    const SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
    SDL_JoystickClose(joystick_);
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == id) {
            SDL_JoystickDetachVirtual(i);
            break;
        }
    }
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

void VirtualPad::set(int32_t input, bool down) {
    if (input >= 0 && input < pad::button_count) {
        SDL_JoystickSetVirtualButton(joystick_, input, down ? SDL_PRESSED : SDL_RELEASED);
        return;
    }
    for (const AxisEnd& a : axis_ends)
        if (a.input == input)
            SDL_JoystickSetVirtualAxis(joystick_, a.axis, down ? a.end : a.rest);
}
