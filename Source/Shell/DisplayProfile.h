#pragma once

#include <cstdint>

// The build-time display profile: the pixel size of the window and of the full-screen mode.
struct DisplayProfile {
    bool fullscreen = true;
    int32_t width = 1280;
    int32_t height = 720;
    int32_t bits_per_pixel = 32;
};
