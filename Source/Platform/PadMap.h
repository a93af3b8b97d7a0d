#pragma once

#include <array>
#include <cstdint>
#include <string>

// The inputs of a game controller that can stand for keys: the buttons by their place on the
// pad (in SDL's order of game-controller buttons), then each stick's four directions and the
// two triggers.
namespace pad {
enum Input : int32_t {
    south,
    east,
    west,
    north,
    back,
    guide,
    start,
    left_stick_press,
    right_stick_press,
    left_shoulder,
    right_shoulder,
    dpad_up,
    dpad_down,
    dpad_left,
    dpad_right,
    misc,
    paddle1,
    paddle2,
    paddle3,
    paddle4,
    touchpad,
    left_stick_left,
    left_stick_right,
    left_stick_up,
    left_stick_down,
    right_stick_left,
    right_stick_right,
    right_stick_up,
    right_stick_down,
    left_trigger,
    right_trigger,
    input_count
};
constexpr int32_t button_count = touchpad + 1;
}  // namespace pad

// Which virtual-key code each input of a game controller presses; 0 for none.
class PadMap {
  public:
    // The default map.
    PadMap();
    void reset();

    // The key of an input; 0 for none and for an input that does not exist.
    int32_t key(int32_t input) const;
    // Maps an input to a key code (1 to 255) or, with 0, to none. Anything else is ignored.
    void set(int32_t input, int32_t code);

    // The input of a name ("south", "dpad_up", "left_stick_right", ...; any case); -1 for none.
    static int32_t input(const std::string& name);
    // The name of an input, or null.
    static const char* name(int32_t input);

  private:
    std::array<int32_t, pad::input_count> keys_{};
};
