// Prints the colour of one pixel of the X screen as "r g b", (0, 0) at the top-left corner, the
// way the player sees it. Usage: velden_root_pixel <x> <y>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

namespace {

// The 8-bit value of the channel a mask selects.
unsigned channel(unsigned long pixel, unsigned long mask) {
    if (!mask)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    unsigned long value = (pixel & mask) >> shift;
    unsigned long max = mask >> shift;
    return static_cast<unsigned>(value * 255 / max);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <x> <y>\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 1;
    const int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return 1;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    std::printf("%u %u %u\n", channel(pixel, image->red_mask), channel(pixel, image->green_mask),
                channel(pixel, image->blue_mask));
    XDestroyImage(image);
    XCloseDisplay(display);
    return 0;
}
