#include "Platform/Gamepads.h"

#include <SDL.h>

#include <algorithm>

namespace {

// SDL's controller database, as the community keeps it, read from the game folder.
constexpr const char* database = "gamecontrollerdb.txt";

// The inputs each axis moves: towards negative values, towards positive ones (-1: none).
struct AxisInputs {
    int32_t negative, positive;
};
constexpr AxisInputs axis_inputs[SDL_CONTROLLER_AXIS_MAX] = {
    {pad::left_stick_left, pad::left_stick_right},
    {pad::left_stick_up, pad::left_stick_down},  // SDL's y grows downwards
    {pad::right_stick_left, pad::right_stick_right},
    {pad::right_stick_up, pad::right_stick_down},
    {-1, pad::left_trigger},
    {-1, pad::right_trigger},
};
static_assert(SDL_CONTROLLER_BUTTON_MAX == pad::button_count,
              "pad inputs follow SDL's game-controller buttons");

bool valid(int32_t vk) {
    return vk >= 0 && vk < VirtualKeys::count;
}

// A direction pushed this far (0 to 32768) is held when it was held, or is pushed past the
// threshold, and the push is still outside the dead zone.
bool pushed(bool held, int32_t amount) {
    if (amount >= Gamepads::press_threshold)
        return true;
    if (amount <= Gamepads::dead_zone)
        return false;
    return held;
}

}  // namespace

void Gamepads::CloseController::operator()(SDL_GameController* controller) const {
    SDL_GameControllerClose(controller);
}

Gamepads& Gamepads::instance() {
    // Never destroyed: pads are closed by stop(), while SDL still runs.
    static Gamepads* pads = new Gamepads;
    return *pads;
}

void Gamepads::start() {
    if (tried_)
        return;
    tried_ = true;
    // Buttons by their place on the pad: the south button is the same on every make of pad,
    // whatever letter is printed on it.
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        return;  // the game runs with the keyboard alone
    started_ = true;
    SDL_GameControllerAddMappingsFromFile(database);
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        open(i);
}

void Gamepads::stop() {
    pads_.clear();
    down_.fill(false);
    pressed_.fill(false);
    map_.reset();
    if (started_)
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    started_ = false;
    tried_ = false;
}

void Gamepads::handle(const SDL_Event& event) {
    if (!started_)
        return;
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            open(event.cdevice.which);  // a device index
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            close(event.cdevice.which);  // an instance id, as in the events below
            break;
        case SDL_CONTROLLERDEVICEREMAPPED:
            if (Pad* p = find(event.cdevice.which)) {
                read_all(*p);
                update_keys();
            }
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (Pad* p = find(event.cbutton.which); p && event.cbutton.button < pad::button_count) {
                set_held(*p, event.cbutton.button, event.cbutton.state == SDL_PRESSED);
                update_keys();
            }
            break;
        case SDL_CONTROLLERAXISMOTION:
            if (Pad* p = find(event.caxis.which)) {
                move_axis(*p, event.caxis.axis, event.caxis.value);
                update_keys();
            }
            break;
        default:
            break;
    }
}

bool Gamepads::is_down(int32_t vk) {
    return valid(vk) && down_[vk];
}

bool Gamepads::went_down(int32_t vk) {
    if (!valid(vk))
        return false;
    const bool was = pressed_[vk];
    pressed_[vk] = false;
    return was;
}

void Gamepads::remap(int32_t input, int32_t code) {
    map_.set(input, code);
    update_keys();
}

void Gamepads::open(int32_t device_index) {
    if (!SDL_IsGameController(device_index))
        return;
    if (virtual_only_ && !SDL_JoystickIsVirtual(device_index))
        return;
    const int32_t id = SDL_JoystickGetDeviceInstanceID(device_index);
    if (id < 0 || find(id))
        return;  // pads present at start are announced again by SDL
    SDL_GameController* controller = SDL_GameControllerOpen(device_index);
    if (!controller)
        return;
    pads_.push_back(Pad{});
    pads_.back().controller.reset(controller);
    pads_.back().id = id;
    read_all(pads_.back());
    update_keys();
}

void Gamepads::close(int32_t id) {
    std::erase_if(pads_, [id](const Pad& p) { return p.id == id; });
    update_keys();
}

Gamepads::Pad* Gamepads::find(int32_t id) {
    for (Pad& p : pads_)
        if (p.id == id)
            return &p;
    return nullptr;
}

void Gamepads::read_all(Pad& p) {
    SDL_GameController* c = p.controller.get();
    for (int32_t b = 0; b < pad::button_count; ++b)
        set_held(p, b, SDL_GameControllerGetButton(c, SDL_GameControllerButton(b)) != 0);
    for (int32_t a = 0; a < SDL_CONTROLLER_AXIS_MAX; ++a)
        move_axis(p, a, SDL_GameControllerGetAxis(c, SDL_GameControllerAxis(a)));
}

void Gamepads::set_held(Pad& p, int32_t input, bool held) {
    if (held && !p.held[input])
        if (int32_t key = map_.key(input))
            pressed_[key] = true;
    p.held[input] = held;
}

void Gamepads::move_axis(Pad& p, int32_t axis, int32_t value) {
    if (axis < 0 || axis >= SDL_CONTROLLER_AXIS_MAX)
        return;
    const AxisInputs& inputs = axis_inputs[axis];
    if (inputs.negative >= 0)
        set_held(p, inputs.negative, pushed(p.held[inputs.negative], -value));
    set_held(p, inputs.positive, pushed(p.held[inputs.positive], value));
}

void Gamepads::update_keys() {
    down_.fill(false);
    for (const Pad& p : pads_)
        for (int32_t input = 0; input < pad::input_count; ++input)
            if (p.held[input])
                down_[map_.key(input)] = true;
    down_[0] = false;  // code 0 is no key
}
