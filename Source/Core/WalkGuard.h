#pragma once

#include <cstddef>
#include <memory>
#include <vector>

// Marks a walk over engine lists (a layer update, the trigger manager, the menu and dialog
// steps) during which scripts may run. A script may ask to destroy what the walk is visiting,
// even the whole level; such destruction waits until the outermost walk has ended.
class WalkGuard {
  public:
    WalkGuard();
    ~WalkGuard();
    WalkGuard(const WalkGuard&) = delete;
    WalkGuard& operator=(const WalkGuard&) = delete;

    static bool active();

    // Destroys the object now, or when the outermost walk ends.
    template <class T>
    static void dispose(std::unique_ptr<T> object) {
        if (!object)
            return;
        if (!active())
            return;  // object goes out of scope here
        pending().push_back(std::make_unique<Holder<T>>(std::move(object)));
    }

    // Keeps an object that nothing names or owns any more until the frame ends: the code that
    // let go of it (a script function, a walk) may still be on the stack.
    template <class T>
    static void retire(std::unique_ptr<T> object) {
        if (object)
            retired().push_back(std::make_unique<Holder<T>>(std::move(object)));
    }
    // Destroys the retired objects; called between frames, and at shutdown.
    static void end_frame();
    static size_t retired_count() { return retired().size(); }

  private:
    struct Disposal {
        virtual ~Disposal() = default;
    };
    template <class T>
    struct Holder : Disposal {
        explicit Holder(std::unique_ptr<T> o) : object(std::move(o)) {}
        std::unique_ptr<T> object;
    };
    static std::vector<std::unique_ptr<Disposal>>& pending();
    static std::vector<std::unique_ptr<Disposal>>& retired();
    static void flush();
    static void destroy_in_order(std::vector<std::unique_ptr<Disposal>>& list);
};
