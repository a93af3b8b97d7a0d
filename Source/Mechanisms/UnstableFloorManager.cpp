#include "Mechanisms/UnstableFloorManager.h"

#include <algorithm>

#include "Mechanisms/UnstableFloor.h"

void UnstableFloorManager::add(UnstableFloor* floor) {
    if (!floor)
        return;
    // Floors destroyed since the last addition leave the list here, so it does not grow
    // with dead entries.
    std::erase_if(floors_, [](const Ref<UnstableFloor>& f) { return !f; });
    floors_.emplace_back(floor);
}

UnstableFloor* UnstableFloorManager::find_by_id(int32_t id) const {
    for (const Ref<UnstableFloor>& f : floors_)
        if (f && f->id == id)
            return f.get();
    return nullptr;
}

UnstableFloor* UnstableFloorManager::find_by_strip(const SegmentStrip* strip) const {
    if (!strip)
        return nullptr;
    for (const Ref<UnstableFloor>& f : floors_)
        if (f && f->strip.get() == strip)
            return f.get();
    return nullptr;
}

void UnstableFloorManager::landed_on(SegmentStrip& strip) {
    if (UnstableFloor* floor = find_by_strip(&strip))
        floor->step_on();
}

size_t UnstableFloorManager::count() const {
    return static_cast<size_t>(std::count_if(floors_.begin(), floors_.end(),
                                             [](const Ref<UnstableFloor>& f) { return bool(f); }));
}
