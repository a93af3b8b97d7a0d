#pragma once

#include "Shell/DisplayProfile.h"

class Clock;
class Game;

// What runs outside the Game: the window and display mode, the frame loop and the exit sequence.
class Program {
  public:
    static constexpr const char* title = "Vornholt";

    explicit Program(const DisplayProfile& profile) : profile_(profile) {}
    // Start-up, frame loop, exit sequence; returns the exit code.
    int run();

    // Runs frames until the game's state is quit: each frame ticks the game by the measured
    // interval, then pumps events; a quit message sets the state to quit after the frame.
    static int frame_loop(Game& game, Clock& clock);

  private:
    DisplayProfile profile_;
};
