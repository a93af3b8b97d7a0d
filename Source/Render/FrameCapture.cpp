#include "Render/FrameCapture.h"

#include <GL/gl.h>

#include <cstddef>

Image FrameCapture::read(int32_t width, int32_t height) {
    Image image;
    if (width <= 0 || height <= 0)
        return image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<size_t>(width) * height * 4, 0);
    // The back buffer still holds the presented frame after the swap (Mesa keeps it; the front
    // buffer of a window under Xvfb is not readable).
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, image.pixels.data());
    for (size_t i = 3; i < image.pixels.size(); i += 4)
        image.pixels[i] = 255;
    return image;
}
