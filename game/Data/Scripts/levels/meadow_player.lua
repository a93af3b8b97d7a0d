-- The hero is the player: the arrow keys walk (left, right) and jump (up, twice for a double
-- jump), space uses what the hero stands at. The hero lands on the meadow's segment strips,
-- is pushed out of the crate, the rock and the fence (colliders) and steers the camera, which
-- stays inside the bounds the level gave its camera binder. Run by meadow.lua; it uses that
-- script's layers, ids and ground heights.

-- Key names come from the game's key table; a controller binds keys by name.
lf:do_file("Data/Scripts/lib/keys.lua")

HERO = {
    name = "hero",   -- the player is addressed by kind 0; the name is for the reader
    start_x = -480,
    start_y = GROUND_Y + 40,
    half_w = 32, half_h = 32, -- the 32-pixel frames at two units a pixel
}
local PLAYER = 0 -- creature kind 0: the game's single player

-- The player belongs to the game, not to a level: it is made once, and each level takes it in
-- (meadow.lua again when the game goes back to its title menu, cave.lua). It keeps its own
-- copies of the four animations: standing, walking, jumping, falling.
if not hero_made then
    lf:create_creature(HERO.name, PLAYER, "hero_idle", "hero_walk", "hero_jump", "hero_fall")
    hero_made = true
end
-- At rest and standing, waiting to land (and alive again, should it have died).
lf:reset_all_extra_for_level_change()
lf:creature_shape(HERO.name, PLAYER, HERO.half_w, HERO.half_h) -- the quad stands on the feet
lf:creature_translation(HERO.name, PLAYER, HERO.start_x, HERO.start_y)
-- A held direction pushes by speed per second and drag slows by drag per second, so the walk
-- settles at speed / drag = 200 units a second. In the air without a key held the drag is a
-- tenth: the hero keeps its momentum.
lf:creature_speed(HERO.name, PLAYER, 2000)
-- The last argument is the script that runs in every frame while the hero is dead.
lf:creature_drag(HERO.name, PLAYER, 10, "Data/Scripts/levels/hero_respawn.lua")
-- A jump of 380 units a second against a gravity of 500 rises about 144 units: the first ledge
-- takes one jump, the higher one a second jump in the air. Releasing the key early cuts the
-- jump short.
lf:creature_gravity(HERO.name, PLAYER, 500)
lf:creature_jump(HERO.name, PLAYER, 380, 2)

-- The hero's trigger: its shape is what the colliders push out, and coins and the pit below
-- the world notice it (the groups listed in "can use me"). A new level destroys it with the
-- level's other gates, so every level gives the hero a new one.
function give_hero_trigger(x, y)
    lf:create_trigger("hero_trigger", 0, "", "", x, y + HERO.half_h)
    -- A circle around the hero's body (the shape's origin is the hero's centre, 32 units up).
    lf:create_circle("hero_shape", 0, -10, 20)
    lf:trigger_shape("hero_trigger", 0, "hero_shape")
    lf:trigger_add_group_can_use_me("hero_trigger", 0, "coin")
    lf:trigger_add_group_can_use_me("hero_trigger", 0, "pit")
    lf:trigger_add_group_can_use_me("hero_trigger", 0, "talker") -- the signpost, the miner
    lf:trigger_add_group_can_use_me("hero_trigger", 0, "enemy") -- stinging creatures
    -- Levers are pulled with the use key; hammers and cannon balls hit the hero.
    lf:trigger_add_group_can_use_me("hero_trigger", 0, "lever")
    lf:trigger_add_group_can_use_me("hero_trigger", 0, "hazard")
    -- The way out of a level: the cave's mouth, the daylight at the cave's end.
    lf:trigger_add_group_can_use_me("hero_trigger", 0, "exit")
    lf:creature_trigger(HERO.name, PLAYER, "hero_trigger", ID.hero)
    lf:add_player_trigger_to_manager()
end
give_hero_trigger(HERO.start_x, HERO.start_y)

-- The player's keyboard controller. Listener types: 0 up (jump), 1 down, 2 left, 3 right,
-- 4 action (use); upload_controller(1) gives it to the player.
lf:add_input_listener(2, "left")
lf:add_input_listener(3, "right")
lf:add_input_listener(0, "up")
lf:add_input_listener(4, "space")
lf:upload_controller(1)

-- The player is held by the play layer, in front of the scenery standing on the ground.
lf:upload_player_to_layer(LAYER.play)

-- Tops to stand on: the crate, the rock and the fence block the way as colliders, and a strip
-- on each lets the hero land on it after a jump.
local function top(x1, x2, y)
    lf:create_segment(x1, y)
    lf:add_segment(x2, y)
    lf:upload_segmentstrip()
end
top(500, 540, GROUND_Y + 40) -- crate: a box 40 units square
top(140, 160, GROUND_Y + 26) -- rock: a circle of radius 16, 10 units up
top(-182, -54, GROUND_Y + 30) -- fence: 128 wide, 30 high

-- Walls just outside the meadow's west and east ends keep the hero on it.
COLLIDER.walls = 4
lf:create_shape("wall", 3, 20, SCREEN_H)
lf:create_collider(COLLIDER.walls, "wall", MEADOW.left - 20, 0)
lf:create_collider(COLLIDER.walls, "wall", MEADOW.right + 20, 0)

-- A pit below the world: should the hero ever fall past the ground, it dies and its death
-- script puts it back at the start.
lf:create_trigger("pit", 0, "Data/Scripts/levels/hero_fell.lua", "", 0, -SCREEN_H)
lf:create_shape("pit_shape", 3, 4 * SCREEN_W, 200)
lf:trigger_shape("pit", 0, "pit_shape")
lf:trigger_add_group_i_belong_to("pit", 0, "pit")
lf:trigger_upload("pit", ID.hero + 1)
