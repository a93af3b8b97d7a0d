#pragma once

#include <array>
#include <memory>
#include <vector>

#include "Platform/Keyboard.h"
#include "Platform/PadMap.h"
#include "Platform/VirtualKeys.h"

struct _SDL_GameController;
union SDL_Event;

// The game controllers, read as keys: an input held on any connected pad holds the key the map
// gives it. Pads come and go while the game runs (SDL's controller events, taken by the event
// pump); a pad that goes lets go of everything it held.
class Gamepads : public Keyboard {
  public:
    static Gamepads& instance();

    // Starts SDL's game controllers, adds the mappings of the controller database in the
    // working directory (the game folder) and opens the pads already connected. Tried once
    // until stop(), so calling it in every frame costs nothing.
    void start();
    bool started() const { return started_; }
    // Closes every pad and gives the map its defaults back.
    void stop();
    // Only pads that the program made itself (SDL's virtual joysticks) count: a headless run
    // ignores the pads plugged into the machine, as it ignores its keyboard.
    void set_virtual_only(bool only) { virtual_only_ = only; }

    // A controller event (added, removed, remapped, button or axis); others are ignored.
    void handle(const SDL_Event& event);

    bool is_down(int32_t vk) override;
    bool went_down(int32_t vk) override;

    int32_t count() const { return static_cast<int32_t>(pads_.size()); }
    const PadMap& map() const { return map_; }
    // Changes the map; keys held through the changed input follow it at once.
    void remap(int32_t input, int32_t code);

    // A stick direction or a trigger goes down when pushed past half way and comes up again
    // only once back inside the dead zone, so a stick resting near the threshold never chatters.
    static constexpr int32_t press_threshold = 16384;
    static constexpr int32_t dead_zone = 8192;

  private:
    struct CloseController {
        void operator()(_SDL_GameController* controller) const;
    };
    struct Pad {
        std::unique_ptr<_SDL_GameController, CloseController> controller;
        int32_t id = -1;  // SDL's instance id of the joystick
        std::array<bool, pad::input_count> held{};
    };

    Gamepads() = default;
    void open(int32_t device_index);
    void close(int32_t id);
    Pad* find(int32_t id);
    // Reads every input of the pad from SDL (after it was opened or remapped).
    void read_all(Pad& p);
    void set_held(Pad& p, int32_t input, bool held);
    void move_axis(Pad& p, int32_t axis, int32_t value);
    // Which keys the held inputs of every pad hold.
    void update_keys();

    bool started_ = false;
    bool tried_ = false;
    bool virtual_only_ = false;
    PadMap map_;
    std::vector<Pad> pads_;
    std::array<bool, VirtualKeys::count> down_{};
    std::array<bool, VirtualKeys::count> pressed_{};
};
