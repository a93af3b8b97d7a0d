-- Run by the title menu's QUIT button: the game ends after this frame.
LuaFunctions():set_game_state(3) -- 3: quit
