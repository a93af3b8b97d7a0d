#pragma once

#include <cstdint>

// Keyboard queried by Windows virtual-key code (the numbers scripts use). The engine reads the
// process-wide keyboard; tests install a scripted one.
class Keyboard {
  public:
    virtual ~Keyboard() = default;
    // The key is held at this moment.
    virtual bool is_down(int32_t vk) = 0;
    // The key went down since the last went_down query for it.
    virtual bool went_down(int32_t vk) = 0;

    static Keyboard& current();
    // Installs a keyboard (not owned); null restores the SDL keyboard.
    static void set_current(Keyboard* keyboard);
};
