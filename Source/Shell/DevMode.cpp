#include "Shell/DevMode.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "Core/Random.h"
#include "Platform/Clock.h"
#include "Platform/EventPump.h"
#include "Platform/GLContext.h"
#include "Platform/Keyboard.h"
#include "Platform/VirtualKeys.h"
#include "Render/Renderer.h"
#include "Script/ScriptErrorLog.h"
#include "Script/ScriptHost.h"
#include "Shell/FrameTimer.h"
#include "Shell/Game.h"

namespace {

constexpr int32_t key_f3 = vk::f1 + 2;
constexpr int32_t key_f5 = vk::f1 + 4;

float milliseconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<float, std::milli>(d).count();
}

// Random numbers as when the process began, so that every start of the game draws the same.
void reseed() {
    std::srand(1);
    Random::seed(1);
}

}  // namespace

DevMode::DevMode(const std::string& data_folder) : watcher_(data_folder) {
    ScriptErrorLog::request();
    ScriptErrorLog::set_listener([this](const std::string& message) {
        strip_.add(message, Clock::current().milliseconds());
    });
}

DevMode::~DevMode() {
    ScriptErrorLog::set_listener(nullptr);
}

void DevMode::run(Game& game, Clock& clock) {
    start(game);
    FrameTimer timer(clock);
    timer.start();
    while (game.state != GameState::quit) {
        frame(game, timer.next_frame());
        if (EventPump::pump())
            game.state = GameState::quit;
    }
}

void DevMode::start(Game& game) {
    reseed();
    started(game, game.init());
}

void DevMode::restart(Game& game) {
    const steady::time_point begin = steady::now();
    strip_.clear();
    reseed();
    const bool ok = game.restart();
    started(game, ok);
    ++restarts_;
    std::printf("velden: restarted in %.0f ms%s\n", milliseconds(steady::now() - begin),
                ok ? "" : ", the start-up script failed");
    std::fflush(stdout);
}

void DevMode::started(Game& game, bool ok) {
    // Errors of the start explain what the game lacks: they stay until the next start.
    waiting_ = !ok;
    if (!ok)
        strip_.pin("The start-up script failed: waiting for a change under Data/ or F5");
    else if (!strip_.lines().empty())
        strip_.pin("Errors at start-up (shown until the next change under Data/ or F5)");
    change_pending_ = false;
    previous_frame_ = steady::now();
    if (!game.renderer)
        return;
    // Each start makes a new renderer and context.
    GLContext::request_vsync();
    font_.upload(*game.renderer);
    screen_.left = 0.0f;
    screen_.bottom = 0.0f;
    screen_.right = static_cast<float>(game.renderer->get_width());
    screen_.top = static_cast<float>(game.renderer->get_height());
    screen_.notify_projection_changed();
}

bool DevMode::restart_due() {
    Keyboard& keys = Keyboard::current();
    if (keys.went_down(key_f3))
        overlay_visible_ = !overlay_visible_;
    const uint32_t now = Clock::current().milliseconds();
    if (watcher_.changed()) {
        change_pending_ = true;
        changed_at_ms_ = now;
    }
    const bool f5 = keys.went_down(key_f5);
    return f5 || (change_pending_ && now - changed_at_ms_ >= settle_ms);
}

void DevMode::frame(Game& game, float dt) {
    if (restart_due())
        restart(game);
    const steady::time_point begin = steady::now();
    const uint64_t script_before = ScriptHost::busy_nanoseconds();
    if (!waiting_)
        game.update(dt);
    const steady::time_point updated = steady::now();
    const float script_ms =
        static_cast<float>(ScriptHost::busy_nanoseconds() - script_before) * 1e-6f;
    game.draw();
    const steady::time_point drawn = steady::now();
    draw_over(game);
    const steady::time_point overlays = steady::now();
    game.present();
    const steady::time_point presented = steady::now();
    game.end_frame();

    FrameOverlay::Times times;
    times.script_ms = script_ms;
    times.update_ms = std::max(0.0f, milliseconds(updated - begin) - script_ms);
    times.draw_ms = milliseconds(drawn - updated);
    times.present_ms = milliseconds(presented - overlays);
    overlay_.record(times, milliseconds(begin - previous_frame_));
    previous_frame_ = begin;
}

void DevMode::draw_over(Game& game) {
    const uint32_t now = Clock::current().milliseconds();
    // Nothing to show: the frame keeps exactly the game's pixels.
    if (!game.renderer || (!overlay_visible_ && !strip_.showing(now)))
        return;
    Renderer& renderer = *game.renderer;
    Camera* game_camera = renderer.camera();
    renderer.set_camera(&screen_);
    renderer.set_blend_state(BlendState::alpha());
    if (overlay_visible_)
        overlay_.draw(renderer, font_, FrameOverlay::count(game), renderer.get_height());
    strip_.draw(renderer, font_, renderer.get_width(), now);
    renderer.end_frame();
    renderer.set_camera(game_camera);
}
