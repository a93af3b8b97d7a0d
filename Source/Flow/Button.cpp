#include "Flow/Button.h"

#include "Script/ScriptHost.h"

void Button::press() {
    if (pressed)
        return;
    // Marked first: the script may destroy the button (its level replaced, or itself removed).
    pressed = true;
    if (press_sound)
        play_sound(*press_sound);
    ScriptHost::run_script(script, id);
}

void Button::play_focus_sound() const {
    if (focus_sound)
        play_sound(*focus_sound);
}

void Button::play_sound(const std::string&) {
    // The one place where menu sounds reach the audio engine; the engine has no sound output
    // yet, so nothing plays.
}
