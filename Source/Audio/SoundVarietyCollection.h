#pragma once

#include <string>
#include <vector>

#include "Audio/Sound.h"

// A sound that plays one of several files, picked at random each time it plays. The inherited
// path holds the last pick, so a clone is a plain sound that always plays that pick.
class SoundVarietyCollection : public Sound {
  public:
    SoundVarietyCollection(float range, float x, float y) : Sound("", range, x, y) {}

    void play() override;
    void clear() override;
    void add_path(const std::string& new_path) override;

    // Makes one of the paths current (every path is eligible); none when there are none.
    void pick();

    std::vector<std::string> paths;
};
