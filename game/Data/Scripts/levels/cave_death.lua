-- Runs in every frame while the hero is dead in the cave (it fell into the pit, or its health
-- ran out): after a moment it stands again at the cave's entrance.
local lf = LuaFunctions()
dead_frames = (dead_frames or 0) + 1
if dead_frames < 60 then return end
dead_frames = 0
lf:reset_all_extra_for_level_change()
lf:creature_translation(HERO.name, 0, CAVE.start_x, CAVE.ground)
