-- The first level: a meadow below the mountains on a late afternoon, four screens wide. The
-- camera follows the hero from the west end, where the signpost stands, to the cliff at the
-- east end, whose gate leads into the crystal cave (levels/cave.lua). Run at start-up and again
-- whenever the game goes back to its title menu.

-- Layers, back to front. A layer's parallax multiplies the camera position while the layer is
-- drawn: (0, 0) stays fixed on the screen, (1, 1) moves with the world, values between give
-- depth. Blend 1 adds colours (light and glow), anything else blends by alpha.
LAYER = {
    sky = 0,       -- sky gradient and the sun
    sunlight = 1,  -- light around the sun (additive)
    clouds = 2,
    mountains = 3,
    hills = 4,
    play = 5,      -- the ground, everything standing on it, the hero
    glow = 6,      -- light of torches and coins (additive)
    front = 7,     -- dark foliage in front of everything
    hud = 8,       -- hearts, coins, the level title
    pause = 9,     -- the pause menu, fixed on the screen (menu/pause_menu.lua)
}

-- The meadow's extent in world units: four screens from x = -640. The camera's centre travels
-- from 0 to 3840, so far layers move less and the front layer more than the ground.
MEADOW = { left = -SCREEN_W / 2, right = -SCREEN_W / 2 + 4 * SCREEN_W }
VIEW_TRAVEL = MEADOW.right - MEADOW.left - SCREEN_W

-- Ids of uploaded objects. Scripts find or remove uploaded objects by layer and id; ids need
-- not be unique, so scenery shares one.
ID = { scenery = 0, torch = 10, coin = 100, hero = 1000, hud = 2000, title = 3000 }
-- Colliders have ids of their own (doors find theirs by id).
COLLIDER = { crate = 1, rock = 2, fence = 3 }

lf:create_level(0, 0, 0, 0) -- the four numbers are required and not used
lf:create_layer(0, 0, 0)        -- sky
lf:create_layer(0, 0, 1)        -- sunlight
lf:create_layer(0.1, 0.05, 0)   -- clouds
lf:create_layer(0.2, 0.1, 0)    -- mountains
lf:create_layer(0.5, 0.3, 0)    -- hills
lf:create_layer(1, 1, 0)        -- play
lf:create_layer(1, 1, 1)        -- glow
lf:create_layer(1.25, 1, 0)     -- front
lf:create_layer(1, 1, 0)        -- hud
lf:create_layer(0, 0, 0)        -- pause
-- A layer's colour tints everything in it: the front layer is drawn dark.
lf:layer_color(LAYER.front, 0.2, 0.28, 0.3, 1)

-- The camera follows the hero inside these bounds (world units): the meadow's width, one screen
-- high. The clamping mode (an engine extension) keeps the whole view inside them, so the camera
-- goes straight back with a hero who starts again at the west end.
lf:camera_set_position(0, 0)
lf:init_camera_binder(MEADOW.left, MEADOW.right, -SCREEN_H / 2, SCREEN_H / 2)
lf:camera_binder_mode(velden.camera_binder.CLAMP)

------------------------------------------------------------------------------------------------
-- Backdrops

-- The sky picture is 4 x 128 pixels, stretched over the whole screen.
local sky = new_name("sky")
lf:create_sprite(sky, TEXTURED, "sky", 0, 0)
lf:sprite_shape(sky, TEXTURED, SCREEN_W / 2, SCREEN_H / 2)
upload(sky, LAYER.sky, ID.scenery)

upload(picture_sprite("sun", 560, 50, { 0, 0, 32, 32 }), LAYER.sky, ID.scenery)

-- Light around the sun: the soft "glow" picture, tinted and slowly breathing.
local halo = picture_sprite("glow", 560, 50, { 0, 0, 64, 64 }, 7)
lf:sprite_color(halo, 1, 0.78, 0.5, 0.55)
upload(key_frames(halo, 6, { { 0.5, 560, 50, 0, 1.08, { 1, 0.78, 0.5, 0.65 } } }),
    LAYER.sunlight, ID.scenery)

-- Far clouds are smaller and fainter, and drift slower than near ones. Each band is as wide as
-- the view's travel at its layer's parallax needs (the parallax and VIEW_TRAVEL).
backdrop { picture = "clouds", layer = LAYER.clouds, id = ID.scenery, y = 115, scale = 1,
    speed = 0.006, colour = { 1, 0.95, 0.97, 0.75 }, parallax = 0.1, travel = VIEW_TRAVEL }
backdrop { picture = "clouds", layer = LAYER.clouds, id = ID.scenery, y = 200, speed = 0.005,
    parallax = 0.1, travel = VIEW_TRAVEL }
backdrop { picture = "mountains", layer = LAYER.mountains, id = ID.scenery, y = -102,
    shift = 0.15, parallax = 0.2, travel = VIEW_TRAVEL }
-- Mist drifting along the foot of the mountains.
backdrop { picture = "clouds", layer = LAYER.mountains, id = ID.scenery, y = -150,
    speed = 0.012, colour = { 1, 0.92, 0.95, 0.3 }, parallax = 0.2, travel = VIEW_TRAVEL }
backdrop { picture = "hills", layer = LAYER.hills, id = ID.scenery, y = -172, shift = 0.6,
    parallax = 0.5, travel = VIEW_TRAVEL }

------------------------------------------------------------------------------------------------
-- Ground

-- The floating ledges as a map of tiles (letters as in art.lua, "." for nothing), top row
-- first; the map's bottom row lies on the bottom of the screen, its left end at the meadow's.
local ledge_map = {
    "..............[=]............................[==]...............................",
    "....[==]................................................[==]....................",
    "................................................................................",
    "................................................................................",
    "................................................................................",
}
build_tiles(ledge_map, LAYER.play, ID.scenery)

-- Heights of the surfaces things stand on: the grass on the tiles starts 3 pixels below the
-- tile's top edge, the grass on ledges 2 pixels.
GROUND_Y = -SCREEN_H / 2 + 2 * TILE_SIZE - 3 * PIXEL
LEDGE_Y = { -SCREEN_H / 2 + 4 * TILE_SIZE - 2 * PIXEL, -SCREEN_H / 2 + 5 * TILE_SIZE - 2 * PIXEL }

-- The ground, one letter per column of tiles from the west end: "0" the floor, "1" a plateau
-- one tile higher, "/" and "\\" slopes between them, " " a gap to jump (falling in is death).
-- Each of the four lines is one screen.
MEADOW.ground = "00000000000000000000" ..
                "00000000  000000////" ..
                "11111111\\\\\\\\000000  " ..
                "00000000000000000000"
build_ground(MEADOW.ground, MEADOW.left, GROUND_Y, LAYER.play, ID.scenery)

for _, d in ipairs({
    { "sign", -560 }, { "tuft", -505 }, { "bush", -300 }, { "flowers", -245 },
    { "fence", -150 }, { "fence", -86 }, { "tuft", -30 }, { "flowers", 40 },
    { "rock", 150 }, { "tuft", 205 }, { "bush", 300 }, { "mushroom", 362 },
    { "crate", 520 }, { "flowers", 590 }, { "tuft", 700 }, { "bush", 1000 },
    { "flowers", 1400 }, { "rock", 1560 }, { "tuft", 2750 }, { "mushroom", 2900 },
    { "bush", 3300 }, { "flowers", 3500 }, { "tuft", 3700 }, { "fence", 3900 },
}) do
    decorate(d[1], d[2], GROUND_Y, LAYER.play, ID.scenery)
end
decorate("flowers", -330, LEDGE_Y[1], LAYER.play, ID.scenery)
decorate("tuft", -200, LEDGE_Y[1], LAYER.play, ID.scenery)
decorate("mushroom", 400, LEDGE_Y[2], LAYER.play, ID.scenery)
for _, d in ipairs({ { "flowers", 2000 }, { "tuft", 2150 }, { "bush", 2300 } }) do
    decorate(d[1], d[2], GROUND_Y + TILE_SIZE, LAYER.play, ID.scenery)
end

------------------------------------------------------------------------------------------------
-- Walkable ground and solid things. Creatures walk on segment strips, laid out left to right
-- point by point; colliders push the player out of themselves. Turn on the debug view with
-- lf:draw_segments(true) to see both: strips as dark red lines, colliders in translucent blue.

-- The meadow floor: one strip between each two gaps, rising and falling with the slopes
-- (see ground_strips in lib/scenery.lua). The first runs from the west end past the hammer.
ground_strips(MEADOW.ground, MEADOW.left, GROUND_Y)

-- Each ledge is a strip of its own, with a code by which later scripts (and unstable floors)
-- find it again: lf:add_segment_with_code(x, y, code) extends the strip of that code.
local function ledge(first_column, last_column, y, code)
    local x1 = -SCREEN_W / 2 + (first_column - 1) * TILE_SIZE
    local x2 = -SCREEN_W / 2 + last_column * TILE_SIZE
    lf:create_segment_with_code(x1, y, x1 + TILE_SIZE, y, code)
    lf:upload_segmentstrip()
    lf:add_segment_with_code(x2, y, code)
end
ledge(5, 8, LEDGE_Y[1], 1)
ledge(15, 17, LEDGE_Y[2], 2)
ledge(46, 49, LEDGE_Y[2], 3)   -- the cannon's ledge above the plateau
ledge(57, 60, LEDGE_Y[1], 4)   -- coins above the second gap

-- The crate is a box (kind 3: half-width, half-height), the rock a circle. A collider keeps its
-- own copy of the shape, so one shape can serve several colliders.
lf:create_shape("crate", 3, 20, 20)
lf:create_collider(COLLIDER.crate, "crate", 520, GROUND_Y + 20)
lf:create_circle("rock", 0, 0, 16)
lf:create_collider(COLLIDER.rock, "rock", 150, GROUND_Y + 10)
-- The fence is a polygon laid out vertex by vertex (kind 1: that many vertices, then
-- shape_vertex for each, counter-clockwise).
lf:create_shape("fence", 1, 4, 0)
lf:shape_vertex("fence", 0, -64, 0)
lf:shape_vertex("fence", 1, 64, 0)
lf:shape_vertex("fence", 2, 64, 30)
lf:shape_vertex("fence", 3, -64, 30)
lf:create_collider(COLLIDER.fence, "fence", -118, GROUND_Y)

------------------------------------------------------------------------------------------------
-- Torches: an animated flame on a stick, and a pulsing light in the glow layer.

local function torch(x, ground)
    local y = ground + 28
    upload(animated_sprite("torch_flame", x, y, 16, 32), LAYER.play, ID.torch)
    local light = picture_sprite("glow", x, y + 17, { 0, 0, 64, 64 }, 2.6)
    lf:sprite_color(light, 1, 0.62, 0.25, 0.55)
    upload(key_frames(light, 0.9, {
        { 0.35, x, y + 18, 0, 1.12, { 1, 0.66, 0.28, 0.7 } },
        { 0.7, x, y + 17, 0, 0.96, { 1, 0.6, 0.24, 0.5 } },
    }), LAYER.glow, ID.torch)
end
torch(-430, GROUND_Y)
torch(455, GROUND_Y)
torch(1620, GROUND_Y)
torch(2850, GROUND_Y)
torch(3980, GROUND_Y)

------------------------------------------------------------------------------------------------
-- Coins: spinning, bobbing up and down, each with a faint glow.

coin_places = {} -- id and place of every coin, for the coins' triggers and sparkles

for i = 0, 3 do coin(-352 + 64 * i, LEDGE_Y[1] + 40) end
for i = 0, 2 do coin(288 + 64 * i, LEDGE_Y[2] + 40) end
for i = 0, 4 do coin(-20 + 55 * i, GROUND_Y + 110 + 45 * math.sin(math.pi * i / 4)) end
-- Further east: a row under the hammer, an arc over the first gap, a row on the plateau, the
-- second gap's ledge, and a last arc before the cliff.
for i = 0, 2 do coin(840 + 60 * i, GROUND_Y + 30) end
for i = 0, 2 do coin(1150 + 60 * i, GROUND_Y + 90 + 40 * math.sin(math.pi * i / 2)) end
for i = 0, 3 do coin(1980 + 80 * i, GROUND_Y + TILE_SIZE + 30) end
for i = 0, 3 do coin(2976 + 64 * i, LEDGE_Y[1] + 40) end
for i = 0, 2 do coin(3500 + 60 * i, GROUND_Y + 90 + 40 * math.sin(math.pi * i / 2)) end

------------------------------------------------------------------------------------------------
-- The hero: the player, walking and jumping under the arrow keys.
lf:do_file("Data/Scripts/levels/meadow_player.lua")

------------------------------------------------------------------------------------------------
-- Foreground: big foliage at the bottom corners, dark against the light.

-- The front layer moves a quarter faster than the ground, so each screen's foliage stands a
-- quarter further east.
for screen = 0, 3 do
    local dx = screen * SCREEN_W * 1.25
    for _, f in ipairs({
        { "bush", -610, -292, 5 }, { "tuft", -505, -318, 4 }, { "tuft", -660, -260, 4 },
        { "bush", 620, -300, 5 }, { "tuft", 525, -322, 4 },
    }) do
        upload(picture_sprite("tiles", f[2] + dx, f[3], deco_rects[f[1]], f[4]), LAYER.front,
            ID.scenery)
    end
end

------------------------------------------------------------------------------------------------
-- HUD: made like any sprite, then converted; a HUD object keeps its place relative to the
-- camera wherever the camera goes.

local function hud(name)
    lf:convert_to_hud(name)
    upload(name, LAYER.hud, ID.hud)
end

local top = SCREEN_H / 2 - 44
hud(picture_sprite("hud", -548, top, hud_rects.panel))
for i = 0, 2 do
    hud(picture_sprite("hud", -584 + 36 * i, top, hud_rects.heart_full))
end
hud(picture_sprite("hud", 548, top, hud_rects.panel))
hud(picture_sprite("hud", 508, top, hud_rects.coin_icon))

-- The level's title: shown for three seconds, then it rises and fades away. It is not
-- looping, so it removes itself at the end of its timeline.
local title = picture_sprite("logo", 0, 190, { 0, 0, 256, 64 })
upload(key_frames(title, 5, {
    { 0.6, 0, 190, 0, 1, { 1, 1, 1, 1 } },
    { 1.0, 0, 215, 0, 1, { 1, 1, 1, 0 } },
}, false), LAYER.hud, ID.title)

------------------------------------------------------------------------------------------------
-- Triggers: the coins' gates and the signal lamp.

lf:do_file("Data/Scripts/levels/meadow_triggers.lua")

------------------------------------------------------------------------------------------------
-- Music and sounds.

lf:do_file("Data/Scripts/levels/meadow_audio.lua")
-- Smoke, sparkles and the score.
lf:do_file("Data/Scripts/levels/meadow_effects.lua")
lf:do_file("Data/Scripts/levels/meadow_text.lua")
lf:do_file("Data/Scripts/levels/meadow_sign.lua")
lf:do_file("Data/Scripts/levels/meadow_hud.lua")
-- Creatures that patrol, sting and flee, and the hero's health.
lf:do_file("Data/Scripts/levels/meadow_ai.lua")
-- The lever and gate, the hammer, the cannon and the crumbling planks.
lf:do_file("Data/Scripts/levels/meadow_machines.lua")
