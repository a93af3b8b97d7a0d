#pragma once

#include <string>

#include "Render/Color.h"

// Tiled's colours: "#RRGGBB" or "#AARRGGBB" (the '#' optional).
class TiledColor {
  public:
    // False, leaving colour alone, when the text is not such a colour.
    static bool parse(const std::string& text, Color& colour);
};
