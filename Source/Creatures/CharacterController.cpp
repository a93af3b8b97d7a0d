#include "Creatures/CharacterController.h"

void CharacterController::add_event(int32_t command, bool value) {
    for (const ControllerEvent& e : events)
        if (e.command == command)
            return;
    events.push_back({command, value});
}
