#pragma once

#include <cstdint>

#include "Render/Image.h"

// Reads back the frame just presented in the current GL context.
class FrameCapture {
  public:
    // The frame's pixels, bottom row first, alpha forced opaque (the window has no alpha).
    static Image read(int32_t width, int32_t height);
};
