#include "Flow/MenuInput.h"

#include "Core/WalkGuard.h"

void MenuInput::focus_to(Button* b) {
    if (!b)
        return;
    if (Button* old = focused.get()) {
        old->focused = false;
        old->play_focus_sound();
    }
    focused = b;
    b->focused = true;
    b->play_focus_sound();
}

void MenuInput::clear_focus() {
    // The button that had the focus no longer shows it.
    if (Button* old = focused.get())
        old->focused = false;
    focused.reset();
}

void MenuInput::step() {
    if (!controller)
        return;
    // Scripts run from here may replace the level, remove buttons or install another
    // controller: what they destroy waits until the step is over.
    WalkGuard guard;
    UserController* polled = controller.get();
    polled->poll();
    for (size_t i = 0; i < polled->events.size(); ++i) {
        const ControllerEvent e = polled->events[i];
        if (!e.value)
            continue;  // key releases do nothing
        Button* current = focused.get();
        if (!current)
            continue;
        switch (e.command) {
            case command::left:
                focus_to(current->left.get());
                break;
            case command::right:
                focus_to(current->right.get());
                break;
            case command::up:
                focus_to(current->up.get());
                break;
            case command::down:
                focus_to(current->down.get());
                break;
            case command::action:
                current->press();
                break;
            default:
                break;
        }
    }
}
