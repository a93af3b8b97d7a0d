-- The second level: a crystal cave under the hill, two screens wide, reached through the gate
-- at the meadow's east end. The points, the coins and the time go on from the meadow. On the
-- way: planks over a pit that give way under the hero, two cannons, a lever that opens two
-- doors, an old miner whose question changes the cave, and daylight at the far end, which ends
-- the game (menu/end_screen.lua). Built by lib/flow.lua from the frame script. The stone
-- floors, their ground and the crystals' places are drawn in the Tiled map editor
-- (Data/Maps/cave.tmx); the script adds everything that moves.

local lf = LuaFunctions()

register_picture("cave_wall", "cave_wall.png", 512, 128, 1, 0)
register_picture("cave_rocks", "cave_rocks.png", 512, 128, 1, 0)
register_picture("cave_tiles", "cave_tiles.png", 128, 64)
local cave_rects = {
    G = { 0, 0, 32, 32 }, D = { 96, 0, 32, 32 },
    -- Cut one pixel short at the top, so that the stone above in the sheet never shows.
    crystal = { 0, 33, 32, 31 }, stalactite = { 32, 32, 32, 32 }, miner = { 64, 33, 32, 31 },
    daylight = { 96, 33, 32, 31 },
}

CAVE = { left = -SCREEN_W / 2, right = -SCREEN_W / 2 + 2 * SCREEN_W, start_x = -520 }
miner_asked, cave_lit = nil, nil
ID.lever, ID.door, ID.cannon, ID.ball, ID.plank, ID.miner, ID.exit = 31, 30, 33, 34, 40, 21, 35

------------------------------------------------------------------------------------------------
-- Ground: a floor, the pit, and a lower floor beyond it, from the map. The map is drawn in the
-- pictures' own pixels, PIXEL units each here, with its top-left corner at the floor's top
-- edge; its ground lies 2 pixels below the floor's top edge and 6 pixels more on the lower
-- floor. The map's three layers (the floors' tiles and its marks) come between the rock and
-- the play layer.

CAVE.ground = -SCREEN_H / 2 + 2 * TILE_SIZE - 2 * PIXEL
CAVE.low = CAVE.ground - 12
lf:create_level(0, 0, 0, 0)
lf:create_layer(0.2, 0.2, 0) -- the far wall
lf:create_layer(0.5, 0.4, 0) -- nearer rock
assert(lf:map_load_scaled("Data/Maps/cave.tmx", CAVE.left, CAVE.ground + 2 * PIXEL, PIXEL),
    "the cave's map did not load")
local play = lf:get_num_layers()
lf:create_layer(1, 1, 0)     -- play
lf:create_layer(1, 1, 1)     -- light of crystals and lamps (additive)
lf:create_layer(1.25, 1, 0)  -- stalactites in front
lf:create_layer(1, 1, 0)     -- hud
lf:create_layer(0, 0, 0)     -- pause
LAYER = { wall = 0, rocks = 1, floor = lf:map_layer("floor"), low_floor = lf:map_layer("low floor"),
    play = play, glow = play + 1, front = play + 2, hud = play + 3, pause = play + 4 }
-- The cave is dark: its layers are tinted until the miner lights his lamps (cave_lights.lua).
CAVE.dark = {
    { LAYER.wall, 0.45, 0.42, 0.62 }, { LAYER.rocks, 0.5, 0.48, 0.7 },
    { LAYER.floor, 0.62, 0.6, 0.8 }, { LAYER.low_floor, 0.62, 0.6, 0.8 },
    { LAYER.play, 0.62, 0.6, 0.8 }, { LAYER.front, 0.15, 0.12, 0.22 },
}
for _, c in ipairs(CAVE.dark) do
    lf:layer_color(c[1], c[2], c[3], c[4], 1)
end

lf:camera_set_position(0, 0)
lf:init_camera_binder(CAVE.left, CAVE.right, -SCREEN_H / 2, SCREEN_H / 2)
lf:camera_binder_mode(velden.camera_binder.CLAMP)

------------------------------------------------------------------------------------------------
-- Rock walls behind, stalactites in front

local travel = CAVE.right - CAVE.left - SCREEN_W
backdrop { picture = "cave_wall", layer = LAYER.wall, id = ID.scenery, y = 0,
    scale = SCREEN_H / 128, parallax = 0.2, travel = travel }
backdrop { picture = "cave_rocks", layer = LAYER.rocks, id = ID.scenery, y = 0,
    scale = SCREEN_H / 128, shift = 0.3, parallax = 0.5, travel = travel }
for i = 0, 9 do
    local x = -600 + i * 330 + (i % 3) * 40
    upload(picture_sprite("cave_tiles", x, 320 - (i % 2) * 30, cave_rects.stalactite, 3 + i % 3),
        LAYER.front, ID.scenery)
end

------------------------------------------------------------------------------------------------
-- The pit between the floors (14 and 19 tiles from the west end), and crystals glowing along
-- the floors where the map's points "crystal_1" to "crystal_5" stand, in their "colour".

local pit_left = CAVE.left + 14 * TILE_SIZE
local low = CAVE.low
local function crystal(x, y, r, g, b)
    upload(picture_sprite("cave_tiles", x, y + TILE_SIZE / 2 - PIXEL, cave_rects.crystal),
        LAYER.play, ID.scenery)
    local light = picture_sprite("glow", x, y + 24, { 0, 0, 64, 64 }, 3)
    lf:sprite_color(light, r, g, b, 0.6)
    upload(key_frames(light, 2.5, { { 0.5, x, y + 24, 0, 1.15, { r, g, b, 0.8 } } }),
        LAYER.glow, ID.scenery)
end
for i = 1, 5 do
    local name = "crystal_" .. i
    local r, g, b = lf:map_object_property(name, "colour"):match("(%S+) (%S+) (%S+)")
    crystal(lf:map_spawn_x(name), lf:map_spawn_y(name), tonumber(r), tonumber(g), tonumber(b))
end

-- The planks over the pit each lie a little lower than the one before, so that walking on,
-- the hero lands on each in turn. They are strips of codes 31 to 35, each an unstable floor
-- that crumbles 0.6 s after a landing and is back 3 s after it fell.
register_picture("machines", "machines.png", 128, 96)
for i = 0, 4 do
    local code, id = 31 + i, ID.plank + i
    local x1 = pit_left + 64 * i
    local y = CAVE.ground - 2 * (i + 1)
    plank_floor(id, code, x1, y, LAYER.play)
end

-- The pit below: falling in is death, and the hero starts again at the cave's entrance.
lf:create_trigger("pit", 0, "Data/Scripts/levels/hero_fell.lua", "", 0, -SCREEN_H)
lf:create_shape("pit_shape", 3, 4 * SCREEN_W, 200)
lf:trigger_shape("pit", 0, "pit_shape")
lf:trigger_add_group_i_belong_to("pit", 0, "pit")
lf:trigger_upload("pit", ID.hero + 1)

-- Walls at both ends, and rock over the two doors (from their tops past the top of the screen)
-- so that the doors cannot be jumped.
COLLIDER.walls = 4
lf:create_shape("wall", 3, 20, SCREEN_H)
lf:create_collider(COLLIDER.walls, "wall", CAVE.left - 20, 0)
lf:create_collider(COLLIDER.walls, "wall", CAVE.right + 20, 0)
local function rock_over(x, bottom)
    for y = bottom + TILE_SIZE / 2, SCREEN_H / 2 + TILE_SIZE, TILE_SIZE do
        upload(picture_sprite("cave_tiles", x, y, cave_rects.D), LAYER.play, ID.scenery)
    end
    local h = SCREEN_H / 2 + TILE_SIZE - bottom
    lf:create_shape("rock_over", 3, TILE_SIZE / 2, h / 2)
    lf:create_collider(20, "rock_over", x, bottom + h / 2)
end

------------------------------------------------------------------------------------------------
-- The hero comes in at the west end.

lf:reset_all_extra_for_level_change()
lf:creature_translation(HERO.name, 0, CAVE.start_x, CAVE.ground + 40)
give_hero_trigger(CAVE.start_x, CAVE.ground + 40)
lf:creature_drag(HERO.name, 0, 10, "Data/Scripts/levels/cave_death.lua")
lf:upload_player_to_layer(LAYER.play)

------------------------------------------------------------------------------------------------
-- The lever and its two doors: one pull opens both (a signal for each door, sent when the
-- lever is switched from off to on).

local door_h = 96
for i, x in ipairs({ 1000, 1460 }) do
    local collider = COLLIDER.gate + i - 1
    local name = "door_" .. i
    lf:create_shape(name, 3, 14, door_h / 2)
    lf:create_collider(collider, name, x, low + door_h / 2)
    local open_look = picture_sprite("machines", x, low + door_h / 2, { 96, 0, 32, 32 }, 3)
    local shut_look = picture_sprite("machines", x, low + door_h / 2, { 64, 0, 32, 32 }, 3)
    lf:create_sound("door_sound_" .. i, SOUND.coin, 1500, x, low)
    lf:create_door(name, open_look, shut_look, "door_sound_" .. i, "", collider, true)
    upload(name, LAYER.play, ID.door + 6 * (i - 1))
    rock_over(x, low + door_h)
end
CAVE.lever_x = 780
local off_look = picture_sprite("machines", CAVE.lever_x, low + 16, { 0, 0, 32, 32 })
local on_look = picture_sprite("machines", CAVE.lever_x, low + 16, { 32, 0, 32, 32 })
lf:create_lever("lever", off_look, on_look, "", "", false)
upload("lever", LAYER.play, ID.lever)
lf:add_lever_door_signal(ID.lever, false, ID.door, true)
lf:add_lever_door_signal(ID.lever, false, ID.door + 6, true)
lf:create_trigger("lever_use", 1, "Data/Scripts/triggers/lever_pulled.lua", "", CAVE.lever_x,
    low + 24)
lf:create_circle("lever_use", 0, 0, 28)
lf:trigger_shape("lever_use", 1, "lever_use")
lf:trigger_add_group_i_belong_to("lever_use", 1, "lever")
lf:trigger_upload("lever_use", ID.lever)

------------------------------------------------------------------------------------------------
-- Two cannons: one on a shelf above the lever firing back over the pit, one by the daylight
-- firing along the last passage at the height of the hero's head.

local function cannon(id, x, y, first, second, path)
    lf:create_shooter(id, x, y, LAYER.play)
    lf:shooter_set_idle_animation(id, animated_sprite("cannon", 0, 0, 32, 32))
    lf:shooter_set_idle_time(id, first, second)
    local bullet = "ball_" .. id
    lf:create_bullet(bullet, id + 100)
    local ball = picture_sprite("machines", x - 24, y + 8, { 96, 40, 16, 16 })
    lf:sprite_color(ball, 0.6, 0.9, 1, 1)
    lf:bullet_set_graphics(bullet, key_frames(ball, 2.5, path, false))
    local hit = "ball_hit_" .. id
    lf:create_trigger(hit, 0, "Data/Scripts/triggers/hazard_hit.lua", "", x, -1000)
    lf:create_circle(hit, 0, 0, 12)
    lf:trigger_shape(hit, 0, hit)
    lf:trigger_add_group_i_belong_to(hit, 0, "hazard")
    lf:bullet_set_trigger(bullet, hit)
    lf:shooter_set_bullet(id, bullet, LAYER.play)
end
local shelf_y = low + 150
upload(picture_sprite("cave_tiles", 890, shelf_y - TILE_SIZE / 2 + 4, cave_rects.G), LAYER.play,
    ID.scenery)
cannon(ID.cannon, 890, shelf_y + 30, 1.5, 2.5, {
    { 0.5, 420, CAVE.ground + 60, 0, 1, { 0.6, 0.9, 1, 1 } },
    { 1, -100, CAVE.ground + 20, 0, 1, { 0.6, 0.9, 1, 0.4 } },
})
upload(picture_sprite("cave_tiles", 1880, low + 90 - TILE_SIZE / 2 + 4, cave_rects.G), LAYER.play,
    ID.scenery)
cannon(ID.cannon + 1, 1880, low + 120, 2, 3, {
    { 1, 1500, low + 30, 0, 1, { 0.6, 0.9, 1, 1 } },
})

------------------------------------------------------------------------------------------------
-- The old miner between the doors talks to whoever walks up to him (levels/cave_miner.lua).

CAVE.miner_x = 1230
upload(picture_sprite("cave_tiles", CAVE.miner_x, low + TILE_SIZE / 2 - PIXEL, cave_rects.miner),
    LAYER.play, ID.miner)
local lamp = picture_sprite("glow", CAVE.miner_x, low + 62, { 0, 0, 64, 64 }, 1.5)
lf:sprite_color(lamp, 1, 0.85, 0.5, 0.8)
upload(lamp, LAYER.glow, ID.miner)
lf:create_trigger("miner_gate", 0, "Data/Scripts/levels/cave_miner.lua", "", CAVE.miner_x - 40,
    low + 40)
lf:create_shape("miner_gate", 3, 16, 40)
lf:trigger_shape("miner_gate", 0, "miner_gate")
lf:trigger_add_group_i_belong_to("miner_gate", 0, "talker")
lf:trigger_upload("miner_gate", ID.miner)

------------------------------------------------------------------------------------------------
-- Daylight at the east end: the way out, and the end of the game.

local exit_x = CAVE.right - 120
upload(picture_sprite("cave_tiles", exit_x, low + 48, cave_rects.daylight, 3), LAYER.play,
    ID.scenery)
local day = picture_sprite("glow", exit_x, low + 50, { 0, 0, 64, 64 }, 4)
lf:sprite_color(day, 1, 0.9, 0.6, 0.9)
upload(day, LAYER.glow, ID.scenery)
lf:create_trigger("daylight", 0, "Data/Scripts/levels/cave_exit.lua", "", exit_x, low + 40)
lf:create_shape("daylight", 3, 20, 40)
lf:trigger_shape("daylight", 0, "daylight")
lf:trigger_add_group_i_belong_to("daylight", 0, "exit")
lf:trigger_upload("daylight", ID.exit)

------------------------------------------------------------------------------------------------
-- Coins, the HUD, the music.

coin_places = {}
for i = 0, 3 do coin(-300 + 80 * i, CAVE.ground + 40) end
for i = 0, 2 do coin(300 + 100 * i, CAVE.ground + 110) end
for i = 0, 2 do coin(1080 + 50 * i, low + 40) end
for i = 0, 2 do coin(1560 + 60 * i, low + 40) end
for n, place in ipairs(coin_places) do
    sparkles(place.x, place.y + 4, n)
    coin_gate(n, place)
end

local top = SCREEN_H / 2 - 44
for _, piece in ipairs({ { -548, hud_rects.panel }, { 548, hud_rects.panel },
    { 508, hud_rects.coin_icon }, { -584, hud_rects.heart_full }, { -548, hud_rects.heart_full },
    { -512, hud_rects.heart_full } }) do
    local name = picture_sprite("hud", piece[1], top, piece[2])
    lf:convert_to_hud(name)
    upload(name, LAYER.hud, ID.hud)
end
lf:do_file("Data/Scripts/levels/meadow_hud.lua")
health_bar()
hud_text("level_name", "THE CRYSTAL CAVE", 0, SCREEN_H / 2 - 44, 0.09, { 0.6, 0.9, 1, 1 })
lf:set_level_name("Crystal cave")

play_music("Data/Sounds/cave_theme.wav")
