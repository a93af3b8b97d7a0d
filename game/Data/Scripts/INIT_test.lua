-- Start-up script: run once when the game starts.
lf = LuaFunctions()
lf:set_game_state(0)
