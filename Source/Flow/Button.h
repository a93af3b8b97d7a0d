#pragma once

#include <optional>
#include <string>

#include "Core/Tracked.h"
#include "Scene/GameObject.h"

// A menu button: a game object that can hold the menu's focus and be pressed once. Its id is
// the "parameter" its script runs with.
class Button : public GameObject {
  public:
    // Plays the press sound and runs the script, the first time only.
    virtual void press();

    // Plays the focus sound, if any (on gaining and on losing the focus).
    void play_focus_sound() const;

    // Run when pressed; empty runs nothing.
    std::string script;
    // Where the focus moves; neighbours are not owned and empty when they are destroyed.
    Ref<Button> up, down, left, right;
    bool focused = false;
    // Set by the first press and never reset.
    bool pressed = false;
    std::optional<std::string> press_sound;
    std::optional<std::string> focus_sound;

  private:
    static void play_sound(const std::string& path);
};
