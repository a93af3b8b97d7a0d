-- Runs in every frame while Escape is held: end the game.
local lf = LuaFunctions()
lf:set_game_state(3)
