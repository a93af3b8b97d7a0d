#pragma once

#include <cstdint>
#include <vector>

#include "Core/Tracked.h"
#include "Mechanisms/LeverDoorSignal.h"
#include "Physics/Collider.h"

class Door;
class Lever;

// A level's doors, levers and the signals wiring them. Doors and levers live in layers (or the
// temp list); the registry only refers to them and forgets each one when it is destroyed.
class LeverDoorRegistry : public Tracked {
  public:
    // The level's colliders, which closed doors add their collider to.
    explicit LeverDoorRegistry(ColliderList& colliders) : colliders(colliders) {}
    LeverDoorRegistry(const LeverDoorRegistry&) = delete;
    LeverDoorRegistry& operator=(const LeverDoorRegistry&) = delete;

    void add_door(Door* door);
    void add_lever(Lever* lever);
    void add_signal(const LeverDoorSignal& signal) { signals.push_back(signal); }

    // Flips the first lever with the id and runs the signals of the state it had, in the order
    // they were added. Nothing when no lever has the id; a signal naming no door is skipped.
    void use_lever(int32_t id);

    // Takes the object out and drops every signal naming its id (as lever or as door).
    void forget_door(const Door* door);
    void forget_lever(const Lever* lever);

    Door* find_door(int32_t id) const;
    Lever* find_lever(int32_t id) const;
    size_t door_count() const;
    size_t lever_count() const;

    ColliderList& colliders;
    std::vector<LeverDoorSignal> signals;

  private:
    void drop_signals_of(int32_t id);
    std::vector<Ref<Door>> doors_;
    std::vector<Ref<Lever>> levers_;
};
