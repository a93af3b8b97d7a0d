#pragma once

#include <string>

#include "Render/Image.h"

// Writes 8-bit RGBA images as PNG files.
class PngWriter {
  public:
    // Writes the image (bottom row first, as Image holds it) the right way up; false when the
    // file cannot be written. The bytes depend only on the pixels.
    static bool write(const std::string& path, const Image& image);
};
