-- Runs in every frame while the hero is dead (its health ran out, or it fell into the pit):
-- after a moment the meadow starts again. The coins stay taken.
local lf = LuaFunctions()
dead_frames = (dead_frames or 0) + 1
if dead_frames < 60 then return end
dead_frames = 0
-- Ends every AI state and stands the hero up, at rest and with full health; this script then
-- runs no more.
lf:reset_all_extra_for_level_change()
lf:creature_translation(HERO.name, 0, HERO.start_x, HERO.start_y)
-- The creatures start again from their places, with new AI.
for _, c in ipairs(creatures) do
    lf:remove_gameobject(c.id)
end
lf:remove_gameobject(ID.dust) -- the hedgehog's dust goes with it
make_creatures()
