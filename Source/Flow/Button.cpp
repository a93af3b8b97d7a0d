#include "Flow/Button.h"

#include "Script/ScriptHost.h"

void Button::press() {
    if (pressed)
        return;
    // Marked first, and the script run from copies: the script may destroy the button (its
    // level replaced, or the button removed) when no walk holds destruction back.
    pressed = true;
    if (press_sound)
        play_sound(*press_sound);
    const std::string path = script;
    ScriptHost::run_script(path, id);
}

void Button::play_focus_sound() const {
    if (focus_sound)
        play_sound(*focus_sound);
}

void Button::play_sound(const std::string&) {
    // The one place where menu sounds reach the audio engine; the engine has no sound output
    // yet, so nothing plays.
}
