#include "Mechanisms/LeverDoorRegistry.h"

#include <algorithm>

#include "Mechanisms/Door.h"
#include "Mechanisms/Lever.h"

void LeverDoorRegistry::add_door(Door* door) {
    if (door)
        doors_.emplace_back(door);
}

void LeverDoorRegistry::add_lever(Lever* lever) {
    if (lever)
        levers_.emplace_back(lever);
}

Door* LeverDoorRegistry::find_door(int32_t id) const {
    for (const Ref<Door>& d : doors_)
        if (d && d->id == id)
            return d.get();
    return nullptr;
}

Lever* LeverDoorRegistry::find_lever(int32_t id) const {
    for (const Ref<Lever>& l : levers_)
        if (l && l->id == id)
            return l.get();
    return nullptr;
}

size_t LeverDoorRegistry::door_count() const {
    return static_cast<size_t>(
        std::count_if(doors_.begin(), doors_.end(), [](const Ref<Door>& d) { return bool(d); }));
}

size_t LeverDoorRegistry::lever_count() const {
    return static_cast<size_t>(
        std::count_if(levers_.begin(), levers_.end(), [](const Ref<Lever>& l) { return bool(l); }));
}

void LeverDoorRegistry::use_lever(int32_t id) {
    Lever* lever = find_lever(id);
    if (!lever)
        return;
    const bool was_on = lever->toggle();
    // Opening and closing doors runs no script, so the signal list cannot change under the walk.
    for (const LeverDoorSignal& s : signals) {
        if (s.lever_id != id || s.lever_state != was_on)
            continue;
        if (Door* door = find_door(s.door_id))
            door->set_open(s.open);
    }
}

void LeverDoorRegistry::forget_door(const Door* door) {
    std::erase_if(doors_, [door](const Ref<Door>& d) { return !d || d.get() == door; });
    drop_signals_of(door->id);
}

void LeverDoorRegistry::forget_lever(const Lever* lever) {
    std::erase_if(levers_, [lever](const Ref<Lever>& l) { return !l || l.get() == lever; });
    drop_signals_of(lever->id);
}

void LeverDoorRegistry::drop_signals_of(int32_t id) {
    std::erase_if(signals,
                  [id](const LeverDoorSignal& s) { return s.lever_id == id || s.door_id == id; });
}
