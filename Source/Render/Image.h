#pragma once

#include <cstdint>
#include <vector>

// 8-bit RGBA pixels, rows back to back, the bottom row of the picture first (OpenGL's texture
// origin is the lower-left corner).
struct Image {
    std::vector<uint8_t> pixels;  // width * height * 4 bytes
    int32_t width = 0;
    int32_t height = 0;
};
