-- Runs in every frame while the player is dead: after half a second it stands at the start
-- again, with full health, and the wasp starts over.
dead_frames = (dead_frames or 0) + 1
if dead_frames < 50 then return end
dead_frames = 0
lf:reset_all_extra_for_level_change() -- stands the player up; ends every AI state
lf:creature_translation("hero", velden.creature.PLAYER, HERO.x, HERO.y)
lf:remove_gameobject(WASP.id)
make_wasp()
