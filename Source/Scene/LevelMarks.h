#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "Render/Color.h"
#include "Render/Vector2.h"

// What maps loaded into a level left for its scripts to read by name: the maps' and their
// named objects' custom properties (as text), spawn points in world units and the level layer
// each named map layer became. A later map replaces entries of the same name.
struct LevelMarks {
    std::map<std::string, std::string> properties;
    std::map<std::string, std::map<std::string, std::string>> object_properties;
    std::map<std::string, Vector2> spawn_points;
    std::map<std::string, int32_t> layers;
    // The colour behind every layer: the last loaded map's background colour, if it had one.
    std::optional<Color> background;
};
