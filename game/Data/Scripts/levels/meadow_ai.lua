-- The meadow's creatures and the hero's health. Run by meadow.lua after the level is built.
--
-- Creatures made with create_creature (kind 2) stand still until an AI state drives them. A
-- path of waypoints is laid out first (create_pathing_graph, add_pathing_graph_point), then
-- create_ai gives the creature a copy of it and a behaviour:
--   * "patrol"       flies straight from waypoint to waypoint (the wasps);
--   * "physicalmove" walks to each waypoint's x on the ground, with gravity (the hedgehog);
--   * "runaway"      patrols, but flees while the hero is within 350 units (the rabbit).
-- A new creature heads for the waypoint two along its path first: with three waypoints
-- 2, 0, 1, 2, ... (loop) or 2, 1, 0, 1, 2, ... (back and forth).
-- create_ai must come before the creature is uploaded: it finds the creature by its name.

if not pictures.creatures then
    register_picture("creatures", "creatures.png", 128, 64)
    strip_animation("wasp_fly", "creatures", 0, 0, 32, 32, 2, 0.05)
    strip_animation("hedgehog_walk", "creatures", 64, 0, 32, 32, 2, 0.2)
    strip_animation("rabbit_hop", "creatures", 0, 32, 32, 32, 2, 0.22)
    cut("health_bar_frame", "creatures", 64, 32, 64, 16)
end

ID.creature = 5000 -- creatures and their triggers: 5001, 5002, ...
ID.health = 2100

-- How fast touching an enemy drains the hero's health, in hit points per second (of 1).
STING_RATE = 0.6

------------------------------------------------------------------------------------------------
-- The hero's health (the hero itself is made by meadow_player.lua).

-- 1 hit point; regeneration starts 1.5 seconds after the last sting and gives back 0.01 per
-- frame. The death effect is a red glow over the hero that deepens and swells as health runs
-- out; until an effect is set the hero cannot be hurt at all.
lf:set_hp(1, 1.5, 0.01, 0)
lf:create_sprite("hurt_glow", TEXTURED, "glow", 0, 0)
lf:sprite_shape("hurt_glow", TEXTURED, 48, 48)
lf:sprite_color("hurt_glow", 1, 0.1, 0.05, 1)
lf:set_death_effect("hurt_glow", 0.9, 0, 0.8, 2.2)
-- A dead hero runs this script in every frame: the meadow starts again. (The drag is the
-- one meadow_player.lua gives the hero; creature_drag sets both.)
lf:creature_drag(HERO.name, 0, 10, "Data/Scripts/levels/meadow_death.lua")

------------------------------------------------------------------------------------------------
-- Creatures

local creature_count = 0

-- Makes a creature standing (or hovering) with its feet at (x, y), w x h pixels of art.
local function creature(animation, x, y, w, h, speed)
    creature_count = creature_count + 1
    local name = "creature_" .. creature_count
    lf:create_creature(name, 2, animation, "", "", "")
    lf:creature_shape(name, 2, w * PIXEL / 2, h * PIXEL / 2)
    lf:creature_translation(name, 2, x, y)
    lf:creature_speed(name, 2, speed)
    creatures[#creatures + 1] = { name = name, id = ID.creature + creature_count }
    return name, ID.creature + creature_count
end

-- An enemy's trigger: a gate in the group "enemy" that stings the hero while they touch.
local function sting(name, id, radius)
    local gate = name .. "_sting"
    lf:create_trigger(gate, 0, "Data/Scripts/triggers/sting.lua",
        "Data/Scripts/triggers/sting_over.lua", 0, 0)
    lf:create_circle(gate, 0, 0, radius)
    lf:trigger_shape(gate, 0, gate)
    lf:trigger_add_group_i_belong_to(gate, 0, "enemy")
    lf:trigger_set_color(gate, 1, 0.2, 0.1, 0.4)
    lf:creature_trigger(name, 2, gate, id)
end

local function path(loop, points)
    lf:create_pathing_graph(loop)
    for _, p in ipairs(points) do
        lf:add_pathing_graph_point(p[1], p[2])
    end
end

-- Makes every creature at its start. Run again when the hero comes back after dying.
function make_creatures()
    creature_count = 0
    creatures = {}
    -- A wasp circling over the middle of the meadow, low enough to sting at one corner of its
    -- loop: jump over it or wait until it climbs.
    local wasp, id = creature("wasp_fly", 100, GROUND_Y + 150, 24, 24, 140)
    sting(wasp, id, 16)
    path(true, { { -240, GROUND_Y + 8 }, { -60, GROUND_Y + 150 }, { 100, GROUND_Y + 150 } })
    lf:create_ai(wasp, "patrol")
    upload(wasp, LAYER.play, id)

    -- A second wasp guarding the coins on the ledge over the second gap, back and forth.
    wasp, id = creature("wasp_fly", 3200, LEDGE_Y[1] + 30, 24, 24, 110)
    sting(wasp, id, 16)
    path(false, { { 3200, LEDGE_Y[1] + 30 }, { 3080, LEDGE_Y[1] + 90 }, { 2950, LEDGE_Y[1] + 30 } })
    lf:create_ai(wasp, "patrol")
    upload(wasp, LAYER.play, id)

    -- A hedgehog walking the ground beyond the first gap, through the creature physics (it
    -- falls onto the ground strip first).
    local hedgehog
    hedgehog, id = creature("hedgehog_walk", 1450, GROUND_Y + 40, 24, 16, 400)
    lf:creature_gravity(hedgehog, 2, 1500)
    sting(hedgehog, id, 14)
    path(false, { { 1330, GROUND_Y }, { 1450, GROUND_Y }, { 1620, GROUND_Y } })
    lf:create_ai(hedgehog, "physicalmove")
    -- It kicks up dust as it goes: the creature carries the emitter along.
    local dust = dust_emitter()
    lf:creature_emitter(hedgehog, dust)
    upload(dust, LAYER.play, ID.dust)
    upload(hedgehog, LAYER.play, id)

    -- A timid rabbit hopping about behind the fence; it runs from the hero and comes back. It
    -- does not sting.
    local rabbit
    rabbit, id = creature("rabbit_hop", 0, GROUND_Y, 24, 24, 150)
    path(false, { { 60, GROUND_Y }, { 0, GROUND_Y }, { -40, GROUND_Y } })
    lf:create_ai(rabbit, "runaway")
    upload(rabbit, LAYER.play, id)
end
make_creatures()

------------------------------------------------------------------------------------------------
-- Health in the HUD: a bar whose fill shows the hero's hit points as the engine counts them
-- (lf:get_player_hp and lf:get_player_max_hp, engine extensions). The frame script calls
-- show_health in every frame of play.

-- The bar's frame, in the HUD layer of the level being built (the cave has one too).
function health_bar()
    HEALTH = { x = -405, y = SCREEN_H / 2 - 44, half_w = 60 }
    local frame = new_name("health_frame")
    lf:create_sprite(frame, TEXTURED, "creatures", HEALTH.x, HEALTH.y)
    lf:sprite_shape(frame, TEXTURED, 64, 16)
    lf:textured_sprite_tex_coords(frame, TEXTURED, pixel_rect("creatures", 64, 32, 64, 16))
    lf:convert_to_hud(frame)
    upload(frame, LAYER.hud, ID.hud)
    show_health()
end

-- Replaces the fill by one as wide as the health left, green turning red; nothing to do while
-- the health stays as it was shown.
function show_health()
    local max = lf:get_player_max_hp()
    local f = max > 0 and math.max(0, math.min(1, lf:get_player_hp() / max)) or 0
    if f == HEALTH.shown then return end
    HEALTH.shown = f
    if HEALTH.filled then
        lf:remove_gameobject_from_layer(LAYER.hud, ID.health)
    end
    HEALTH.filled = f > 0
    if f <= 0 then return end
    local name = new_name("health_fill")
    local w = HEALTH.half_w * f
    lf:create_sprite(name, TEXTURED, "creatures", HEALTH.x - HEALTH.half_w + w, HEALTH.y)
    lf:sprite_shape(name, TEXTURED, w, 10)
    lf:textured_sprite_tex_coords(name, TEXTURED, pixel_rect("creatures", 66, 50, 4, 4))
    lf:sprite_color(name, 1 - f, 0.25 + 0.65 * f, 0.2, 1)
    lf:convert_to_hud(name)
    upload(name, LAYER.hud, ID.health)
end
health_bar()
