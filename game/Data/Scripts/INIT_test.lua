-- Start-up script: the engine runs it once when the game starts. It registers the pictures
-- (among them the two the engine builds its fonts from) and builds the first level.
--
-- Scripts run other scripts with do_file; they all share one set of globals, so what one
-- file defines the next can use. Paths are relative to the game folder.
lf = LuaFunctions()
lf:do_file("Data/Scripts/lib/helpers.lua")
lf:do_file("Data/Scripts/lib/flow.lua")
lf:do_file("Data/Scripts/art.lua")
lf:do_file("Data/Scripts/lib/scenery.lua")
lf:do_file("Data/Scripts/levels/meadow.lua")
lf:set_game_state(0) -- 0: running
lf:do_file("Data/Scripts/menu/title_menu.lua")
