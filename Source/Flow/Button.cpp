#include "Flow/Button.h"

#include "Audio/MusicEngine.h"
#include "Script/ScriptHost.h"
#include "Shell/Game.h"

void Button::press() {
    if (pressed)
        return;
    // Marked first, and the script run from copies: the script may destroy the button (its
    // level replaced, or the button removed) when no walk holds destruction back.
    pressed = true;
    if (press_sound)
        play_sound(*press_sound);
    const std::string path = script;
    ScriptHost::run_script(path, id, "script of button", id);
}

void Button::play_focus_sound() const {
    if (focus_sound)
        play_sound(*focus_sound);
}

void Button::play_sound(const std::string& path) {
    // Without working audio the engine has no music engine, and menus stay silent.
    if (MusicEngine* music = Game::instance().music.get())
        music->play_sfx(path);
}
