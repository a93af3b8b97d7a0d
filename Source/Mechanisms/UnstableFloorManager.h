#pragma once

#include <cstdint>
#include <vector>

#include "Core/Tracked.h"

class SegmentStrip;
class UnstableFloor;

// A level's unstable floors, for the body physics and the scripts to find. The floors live in
// layers; a floor destroyed there is forgotten here.
class UnstableFloorManager {
  public:
    void add(UnstableFloor* floor);
    UnstableFloor* find_by_id(int32_t id) const;
    UnstableFloor* find_by_strip(const SegmentStrip* strip) const;
    // A body landed on the strip: its floor, if any, starts to crumble.
    void landed_on(SegmentStrip& strip);
    size_t count() const;

  private:
    std::vector<Ref<UnstableFloor>> floors_;
};
