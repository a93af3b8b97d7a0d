#pragma once

#include <memory>

#include "Core/Tracked.h"
#include "Creatures/UserController.h"
#include "Flow/Button.h"

// The game's menu: the focused button and the keyboard controller that moves the focus and
// presses buttons while the game is in its menu state.
class MenuInput {
  public:
    // Moves the focus to b: the button losing the focus and then b play their focus sounds.
    // Nothing when b is null.
    void focus_to(Button* b);
    // No button has the focus afterwards.
    void clear_focus();
    // One frame of menu input: polls the controller and applies each key that went down, in
    // binding order. A pressed button's script may replace the level or the controller.
    void step();

    Ref<Button> focused;
    std::unique_ptr<UserController> controller;
};
