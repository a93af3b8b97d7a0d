#pragma once

#include <memory>

class Window;

// An OpenGL context on a window: make-current and buffer swap.
class GLContext {
  public:
    // Null when the context cannot be made; on success it is current.
    static std::unique_ptr<GLContext> create(Window& window);
    ~GLContext();
    GLContext(const GLContext&) = delete;
    GLContext& operator=(const GLContext&) = delete;

    bool is_current() const;
    bool make_current();
    void swap();

    // Whatever window and context are current on this thread, to be put back later.
    struct Binding {
        void* window = nullptr;
        void* context = nullptr;
    };
    static Binding current_binding();
    static void restore(const Binding& binding);

    // Asks the driver to make each swap of the current context wait for the screen's vertical
    // blank; false where it does not allow it.
    static bool request_vsync();

  private:
    GLContext(Window& window, void* context) : window_(window), context_(context) {}
    Window& window_;
    void* context_;
};
