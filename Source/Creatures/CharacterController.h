#pragma once

#include <cstdint>
#include <vector>

#include "Core/Tracked.h"
#include "Creatures/ControllerEvent.h"

// Turns input into command events once per poll; its owner reads the events after the poll.
// Tracked, so that an owner which only refers to its controller sees it go.
class CharacterController : public Tracked {
  public:
    virtual ~CharacterController() = default;

    // Refills events from the current input; returns the number of bindings.
    virtual int32_t poll() = 0;

    // Appends the event unless one for the same command is already in the list: within one
    // poll the first change reported for a command wins.
    void add_event(int32_t command, bool value);

    std::vector<ControllerEvent> events;
};
