#pragma once

#include <string>
#include <vector>

#include "Creatures/CharacterController.h"
#include "Creatures/KeyBinding.h"

// The keyboard controller: a list of key bindings, at most one per command, polled for changes.
class UserController : public CharacterController {
  public:
    // Reports every binding whose key changed since the last poll, in binding order. A key that
    // is already down at the first poll is reported as pressed.
    int32_t poll() override;

    // Binds the command to the key named key_name (the smallest code carrying that name, 0 when
    // none does). Rebinding a command replaces its key and forgets whether it was held.
    void add_binding(int32_t command, const std::string& key_name);

    std::vector<KeyBinding> bindings;
};
