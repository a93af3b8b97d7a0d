#pragma once

#include <cstdint>
#include <string>

#include "Render/Resource.h"

// A system font by face name, height and style. A renderer turns its characters from 32 to 127
// into letters it can draw when it is uploaded.
class BitmapFont : public Resource {
  public:
    BitmapFont(std::string face, int32_t height, bool bold, bool italic)
        : face(std::move(face)), height(height), bold(bold), italic(italic) {}
    ~BitmapFont() override { release_everywhere(); }
    int32_t kind() const override { return bitmap_font; }

    std::string face;
    // Negative: the letters' em height in pixels; positive: the height of a whole line; 0: a
    // default size.
    int32_t height;
    bool bold;
    bool italic;
};
