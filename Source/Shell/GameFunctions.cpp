// Script functions of the game state, the debug switches and the frame script.
#include "Script/LuaFunctions.h"
#include "Shell/Game.h"

void LuaFunctions::set_game_state(int32_t state) {
    if (state >= 0 && state <= 4)
        Game::instance().state = static_cast<GameState>(state);
}

int32_t LuaFunctions::get_game_state() {
    return static_cast<int32_t>(Game::instance().state);
}

void LuaFunctions::draw_triggers(bool on) {
    Game::instance().draw_triggers = on;
}

void LuaFunctions::draw_segments(bool on) {
    Game::instance().draw_segments = on;
}

// Engine extensions.

void LuaFunctions::set_frame_script(const std::string& path) {
    Game::instance().frame_script = path;
}

int32_t LuaFunctions::get_frame_number() {
    return Game::instance().frame_number;
}
