#include "Creatures/UserController.h"

#include "Flow/KeyNames.h"
#include "Platform/Keyboard.h"

int32_t UserController::poll() {
    events.clear();
    Keyboard& keyboard = Keyboard::current();
    for (KeyBinding& b : bindings) {
        const bool down = b.key_code != 0 && keyboard.is_down(b.key_code);
        if (down == b.held)
            continue;
        b.held = down;
        add_event(b.command, down);
    }
    return static_cast<int32_t>(bindings.size());
}

void UserController::add_binding(int32_t command, const std::string& key_name) {
    const int32_t code = KeyNames::instance().code_of(key_name);
    for (KeyBinding& b : bindings) {
        if (b.command == command) {
            b.key_code = code;
            b.held = false;
            return;
        }
    }
    bindings.push_back({command, code, false});
}
