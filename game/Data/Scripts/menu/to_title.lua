-- TITLE in the pause menu or on the end screen: back to the title menu over a new meadow. The
-- frame script builds it at the end of this frame (lib/flow.lua).
local lf = LuaFunctions()
lf:timer_start()
go_to("title")
lf:set_game_state(0)
