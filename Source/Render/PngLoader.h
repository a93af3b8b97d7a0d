#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "Render/Image.h"

// Decodes PNG files into 8-bit RGBA images, bottom row first. Every colour type and bit depth is
// converted (palette, grey, grey with alpha, 16-bit samples, transparency chunks, interlacing).
class PngLoader {
  public:
    // Neither side of an image may exceed this many pixels. Larger declared sizes are load
    // failures, so a damaged header cannot make the loader allocate gigabytes.
    static constexpr uint32_t max_side = 8192;

    // The decoded image, or null when the file cannot be opened, is not a PNG, is damaged or
    // truncated, or is larger than max_side on either side.
    static std::unique_ptr<Image> load(const std::string& path);
};
