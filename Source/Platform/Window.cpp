#include "Platform/Window.h"

#include <cstdio>
#include <cstring>

#include <SDL.h>

namespace {
Window* published = nullptr;

bool init_video() {
    if (SDL_WasInit(SDL_INIT_VIDEO))
        return true;
    return SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) == 0;
}

// When no display can be opened, SDL falls back to drivers that draw into memory. A game there
// would run on with nobody seeing it, so a window is refused unless the caller accepts that or
// the user named the driver in SDL_VIDEODRIVER.
bool unseen_fallback() {
    const char* named = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (named && *named)
        return false;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver)
        return false;
    for (const char* unseen : {"offscreen", "dummy", "evdev"}) {
        if (std::strcmp(driver, unseen) == 0)
            return true;
    }
    return false;
}
}  // namespace

std::unique_ptr<Window> Window::create(const char* title, int32_t width, int32_t height,
                                       Fallback fallback) {
    if (!init_video())
        return nullptr;
    if (fallback == Fallback::none && unseen_fallback())
        return nullptr;
    // The pixel format is fixed when an X11 window is made, so the GL attributes go first:
    // double-buffered RGBA with a depth buffer, compatibility profile for immediate mode.
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    SDL_Window* w = nullptr;
    for (int depth : {32, 24, 16}) {
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depth);
        w = SDL_CreateWindow(title, 0, 0, width, height, flags);
        if (w)
            break;
    }
    if (!w)
        return nullptr;
    return std::unique_ptr<Window>(new Window(w));
}

Window::~Window() {
    if (published == this)
        published = nullptr;
    SDL_DestroyWindow(window_);
}

bool Window::has_display_mode(int32_t width, int32_t height, int32_t bits_per_pixel) {
    if (!init_video())
        return false;
    int n = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < n; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) != 0)
            continue;
        int bytes = SDL_BYTESPERPIXEL(mode.format);
        if (mode.w == width && mode.h == height && (bytes == 0 || bytes * 8 == bits_per_pixel))
            return true;
    }
    return false;
}

bool Window::enter_fullscreen(int32_t width, int32_t height, int32_t bits_per_pixel) {
    if (!has_display_mode(width, height, bits_per_pixel))
        return false;
    SDL_DisplayMode wanted{};
    wanted.w = width;
    wanted.h = height;
    SDL_DisplayMode mode;
    if (!SDL_GetClosestDisplayMode(0, &wanted, &mode) || mode.w != width || mode.h != height)
        return false;
    if (SDL_SetWindowDisplayMode(window_, &mode) != 0)
        return false;
    if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN) != 0)
        return false;
    SDL_ShowCursor(SDL_DISABLE);
    return true;
}

void Window::leave_fullscreen() {
    SDL_SetWindowFullscreen(window_, 0);
    SDL_ShowCursor(SDL_ENABLE);
}

void Window::show() {
    SDL_ShowWindow(window_);
}

void Window::client_size(int32_t& width, int32_t& height) const {
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window_, &w, &h);
    width = w;
    height = h;
}

void Window::show_message_box(const char* text) {
    // Without a way to show the box (no X core fonts, no display) the user still hears of it.
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "", text, nullptr) != 0)
        std::fprintf(stderr, "%s\n", text);
}

Window* Window::main() {
    return published;
}

void Window::set_main(Window* window) {
    published = window;
}
