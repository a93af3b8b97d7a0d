-- Runs in every frame while the hero is dead: it stands again at the start of the meadow.
local lf = LuaFunctions()
lf:reset_all_extra_for_level_change() -- at rest, standing, waiting to land
lf:creature_translation(HERO.name, 0, HERO.start_x, HERO.start_y)
