#pragma once

#include <cstdint>

// The numbers scripts pass to set_game_state and get from get_game_state.
enum class GameState : int32_t {
    running = 0,
    menu = 1,    // as running, plus the menu input step; the player does not act
    frozen = 2,  // as running, but the player does not act
    quit = 3,    // as frozen; the frame loop ends after this frame
    dialog = 4,  // the dialog step runs; triggers are not updated
};
