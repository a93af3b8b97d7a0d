#pragma once

#include <limits>
#include <memory>
#include <string>

#include "Core/Tracked.h"

// A positional sound naming one file. It is heard only by a listener within its range.
class Sound : public Tracked {
  public:
    Sound() = default;
    Sound(const std::string& path, float range, float x, float y)
        : range(range), x(x), y(y), path(path) {}
    virtual ~Sound() = default;

    // A plain sound with the same range, position and current path.
    virtual std::unique_ptr<Sound> clone() const;
    // Offers the sound to the game's sound queue; it starts at the end of the frame when the
    // listener is within range.
    virtual void play();
    virtual void clear();
    virtual void add_path(const std::string& new_path);
    virtual const std::string& current_path() const { return path; }

    // Without a range set, a sound is heard everywhere.
    float range = std::numeric_limits<float>::max();
    float x = 0.0f;
    float y = 0.0f;
    std::string path;

  protected:
    Sound(const Sound&) = default;
};
