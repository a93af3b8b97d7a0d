-- Runs in every frame while Escape is held: end the game.
LuaFunctions():set_game_state(velden.state.QUIT)
