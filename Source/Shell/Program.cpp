#include "Shell/Program.h"

#include "Platform/Clock.h"
#include "Platform/EventPump.h"
#include "Platform/Window.h"
#include "Shell/FrameTimer.h"
#include "Shell/Game.h"

int Program::run() {
    static constexpr const char* failed = "Display mode change failed";
    bool fullscreen = profile_.fullscreen;
    if (fullscreen &&
        !Window::has_display_mode(profile_.width, profile_.height, profile_.bits_per_pixel)) {
        Window::show_message_box(failed);
        fullscreen = false;
    }
    std::unique_ptr<Window> window = Window::create(title, profile_.width, profile_.height);
    if (!window)
        return 0;
    if (fullscreen &&
        !window->enter_fullscreen(profile_.width, profile_.height, profile_.bits_per_pixel)) {
        Window::show_message_box(failed);
        fullscreen = false;
    }
    window->show();
    Window::set_main(window.get());

    Game& game = Game::instance();
    game.init();
    int code = frame_loop(game, Clock::current());

    game.shutdown();
    if (fullscreen)
        window->leave_fullscreen();
    return code;
}

int Program::frame_loop(Game& game, Clock& clock) {
    FrameTimer timer(clock);
    timer.start();
    while (game.state != GameState::quit) {
        game.tick(timer.next_frame());
        if (EventPump::pump())
            game.state = GameState::quit;
    }
    // The quit message carries code 0; a quit set by a script ends with the same code.
    return 0;
}
