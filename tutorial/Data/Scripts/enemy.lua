-- A wasp flies back and forth over the plateau and stings the player it touches. The player
-- has 3 hit points; they come back slowly once the stinging stops, and when they run out the
-- player starts again from the beginning.
picture("creatures", "creatures.png")
strip("wasp_fly", "creatures", 128, 64, 0, 0, 32, 32, 2, 0.05)

local NAMED = velden.creature.NAMED
WASP = { id = 201, path = { { 1400, -110 }, { 1950, -110 } } }

-- Makes the wasp at the end of its path. Run again when the player comes back.
function make_wasp()
    lf:create_creature("wasp", NAMED, "wasp_fly", "", "", "")
    lf:creature_shape("wasp", NAMED, 24, 24)
    lf:creature_translation("wasp", NAMED, WASP.path[2][1], WASP.path[2][2])
    lf:creature_speed("wasp", NAMED, 150) -- units a second along its path
    -- Its sting: a gate in the group "enemy", carried along by the wasp.
    lf:create_trigger("sting", GATE, "Data/Scripts/sting.lua", "Data/Scripts/sting_over.lua", 0,
        0)
    lf:create_circle("sting", 0, 0, 20)
    lf:trigger_shape("sting", GATE, "sting")
    lf:trigger_add_group_i_belong_to("sting", GATE, "enemy")
    lf:creature_trigger("wasp", NAMED, "sting", WASP.id)
    -- Back and forth between the path's two points.
    lf:create_pathing_graph(false)
    for _, p in ipairs(WASP.path) do
        lf:add_pathing_graph_point(p[1], p[2])
    end
    lf:create_ai("wasp", "patrol")
    lf:gameobject_upload("wasp", LAYER.play, WASP.id)
end
make_wasp()

-- The player's health: 3 hit points, regeneration a second after the last sting, 0.01 a
-- frame. The death effect, a red glow over the player that grows as health goes, is what
-- makes the player vulnerable at all.
lf:set_hp(3, 1, 0.01, 0)
picture("glow", "glow.png")
lf:create_sprite("hurt", TEXTURED, "glow", 0, 0)
lf:sprite_shape("hurt", TEXTURED, 48, 48)
lf:sprite_color("hurt", 1, 0.1, 0.05, 1)
lf:set_death_effect("hurt", 0.9, 0, 0.8, 1.8)
-- The script run in every frame while the player is dead.
lf:creature_drag("hero", velden.creature.PLAYER, 10, "Data/Scripts/hero_dead.lua")

-- The health in the HUD, read from the engine every frame: one "#" for each tenth.
HUD.health = 2
lf:create_text("health", "hud", -484, 302, 0, 1)
lf:add_text("health", "HEALTH ##########")
lf:text_color("health", 1, 0.45, 0.4, 1)
lf:convert_to_hud("health")
lf:gameobject_upload("health", LAYER.hud, HUD.health)

local shown = 10
every_frame[#every_frame + 1] = function()
    local tenths = math.ceil(10 * lf:get_player_hp() / lf:get_player_max_hp())
    if tenths ~= shown then
        shown = tenths
        lf:text_replace(LAYER.hud, HUD.health,
            "HEALTH " .. string.rep("#", tenths) .. string.rep(" ", 10 - tenths))
    end
end
