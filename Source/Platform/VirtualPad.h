#pragma once

#include <cstdint>
#include <memory>

struct _SDL_Joystick;

// A game controller made in software (SDL's virtual joystick): the program presses its buttons
// and pushes its sticks, and the game sees it as any pad plugged in, through SDL's controller
// events. The headless runner plays the pad inputs of its key timeline on one.
class VirtualPad {
  public:
    // Plugs a new pad in; null when SDL cannot make one. From then on every pad counts, also
    // while the window does not have the focus.
    static std::unique_ptr<VirtualPad> attach();
    // Unplugs it.
    ~VirtualPad();
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    // Holds or lets go of a pad input (see PadMap): a button is pressed, a stick is pushed all
    // the way in that direction or let back to the centre, a trigger is pulled or let go.
    void set(int32_t input, bool down);

  private:
    explicit VirtualPad(_SDL_Joystick* joystick) : joystick_(joystick) {}
    _SDL_Joystick* joystick_;
};
