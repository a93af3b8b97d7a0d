#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "Platform/FileWatcher.h"
#include "Render/Camera.h"
#include "Render/ScreenFont.h"
#include "Shell/ErrorStrip.h"
#include "Shell/FrameOverlay.h"

class Clock;
class Game;

// The author's loop of velden --dev: the frame loop of the profiles, and besides it a restart
// of the game whenever a file under the game's Data/ folder changes or F5 is pressed, the last
// script errors in a strip over the game, and the frame overlay that F3 turns on and off. While
// the start-up script fails the game is drawn but not updated, until the next change.
class DevMode {
  public:
    // File events of one save come within this time of each other; the restart waits for it.
    static constexpr uint32_t settle_ms = 20;

    // Watches data_folder and turns script diagnostics on: make it before the game starts.
    explicit DevMode(const std::string& data_folder);
    ~DevMode();
    DevMode(const DevMode&) = delete;
    DevMode& operator=(const DevMode&) = delete;

    // Starts the game and runs frames until its state is quit.
    void run(Game& game, Clock& clock);

    // The first start of the game.
    void start(Game& game);
    // One frame: a restart first when one is due, then the update (unless the start-up
    // failed), the drawing with the strip and the overlay over it, and the present.
    void frame(Game& game, float dt);
    // Restarts the game now.
    void restart(Game& game);

    bool watching() const { return watcher_.watching(); }
    // The start-up script failed: the game waits for a change.
    bool waiting() const { return waiting_; }
    bool overlay_visible() const { return overlay_visible_; }
    const ErrorStrip& strip() const { return strip_; }
    const FrameOverlay& overlay() const { return overlay_; }
    int32_t restarts() const { return restarts_; }

  private:
    using steady = std::chrono::steady_clock;

    void started(Game& game, bool ok);
    // Reads the file events and the F3 and F5 keys; true when a restart is due.
    bool restart_due();
    void draw_over(Game& game);

    FileWatcher watcher_;
    ErrorStrip strip_;
    FrameOverlay overlay_;
    ScreenFont font_;
    // Shows window pixels, for what is drawn over the game.
    Camera screen_;
    bool waiting_ = false;
    bool overlay_visible_ = false;
    bool change_pending_ = false;
    uint32_t changed_at_ms_ = 0;
    int32_t restarts_ = 0;
    steady::time_point previous_frame_{};
};
