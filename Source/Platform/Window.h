#pragma once

#include <cstdint>
#include <memory>

struct SDL_Window;

// The main window: an OpenGL-capable SDL window, optionally switched to a full-screen display
// mode. The program entry creates it and publishes it; the renderer takes it from there.
class Window {
  public:
    // Where the window may live when no display can be opened.
    enum class Fallback {
        none,       // only on a screen: the game must be seen
        offscreen,  // also in memory, as SDL falls back to (the headless runner)
    };
    // A hidden window at (0, 0) with the given client size; null when it cannot be made.
    static std::unique_ptr<Window> create(const char* title, int32_t width, int32_t height,
                                          Fallback fallback = Fallback::none);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // True when the display offers exactly this mode (size and bytes per pixel).
    static bool has_display_mode(int32_t width, int32_t height, int32_t bits_per_pixel);
    // Switches the screen to that mode with this window full screen and hides the cursor;
    // false (and nothing changed) when the switch fails.
    bool enter_fullscreen(int32_t width, int32_t height, int32_t bits_per_pixel);
    // Gives the screen its own mode back and shows the cursor again.
    void leave_fullscreen();
    void show();
    void client_size(int32_t& width, int32_t& height) const;
    SDL_Window* handle() const { return window_; }

    // A modal message box with an OK button and the system's default caption.
    static void show_message_box(const char* text);

    // The published main window (not owned); null before the program entry made one.
    static Window* main();
    static void set_main(Window* window);

  private:
    explicit Window(SDL_Window* window) : window_(window) {}
    SDL_Window* window_ = nullptr;
};
