-- Run every frame while the hero is dead: after a moment the meadow starts again from scratch.
-- Resetting for a new level ends the AI states and stands the hero up with full health, so
-- this runs no more once the level is rebuilt.
local lf = LuaFunctions()
dead_frames = (dead_frames or 0) + 1
if dead_frames < 60 then return end
dead_frames = 0
lf:reset_all_extra_for_level_change()
lf:do_file("Data/Scripts/levels/meadow.lua")
