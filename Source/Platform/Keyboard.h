#pragma once

#include <cstdint>

// Keyboard queried by Windows virtual-key code (the numbers scripts use). The engine reads the
// process-wide keys, the keyboard and the game controllers together; tests install a scripted
// keyboard.
class Keyboard {
  public:
    virtual ~Keyboard() = default;
    // The key is held at this moment.
    virtual bool is_down(int32_t vk) = 0;
    // The key went down since the last went_down query for it.
    virtual bool went_down(int32_t vk) = 0;

    // The keys the engine reads: the keyboard and every connected game controller.
    static Keyboard& current();
    // The keyboard alone: the installed one, or SDL's.
    static Keyboard& keyboard();
    // Installs a keyboard (not owned); null restores the SDL keyboard.
    static void set_current(Keyboard* keyboard);
};
