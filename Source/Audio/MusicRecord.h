#pragma once

#include <string>

#include "Core/Tracked.h"

// A music track as scripts name it, for objects that start and stop it (unstable floors).
class MusicRecord : public Tracked {
  public:
    explicit MusicRecord(const std::string& path);

    // Starts the track looping on the game's music engine.
    void start() const;
    // Stops every track started from a path with this file name.
    void stop() const;

    // Exactly as given.
    std::string path;
    // The part of the path after the last "/" (the whole path when there is none): the name a
    // playing track reports.
    std::string file_name;
};
