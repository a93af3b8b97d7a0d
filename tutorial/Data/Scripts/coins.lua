-- Coins: spinning sprites with a gate each. The coins' gates belong to the group "coin"; the
-- player's gate lets every group use it, so touching a coin runs coin_taken.lua.
picture("coin", "coin.png") -- 8 frames of 16 x 16 pixels
strip("coin_spin", "coin", 128, 16, 0, 0, 16, 16, 8, 0.08)

COINS = { { 600, -110 }, { 1550, 20 }, { 1750, 20 } }
for i, place in ipairs(COINS) do
    local id = 100 + i -- the coin's sprite and gate share the id
    local name = unique("coin")
    lf:create_sprite(name, ANIMATED, "coin_spin", place[1], place[2])
    lf:sprite_shape(name, ANIMATED, 16, 16)
    lf:gameobject_upload(name, LAYER.play, id)
    lf:create_trigger(name, GATE, "Data/Scripts/coin_taken.lua", "", place[1], place[2])
    lf:create_circle(name, 0, 0, 20)
    lf:trigger_shape(name, GATE, name)
    lf:trigger_add_group_i_belong_to(name, GATE, "coin")
    lf:trigger_upload(name, id)
end

-- Points: the engine keeps the count. add_points multiplies by a combo multiplier of
-- 1 + combo / divisor; a divisor of 1000 keeps it at 1.
lf:points_reset(0, 0)
lf:set_point_settings(0, 1000)

-- A font for the HUD, cut letter by letter from the 8 x 8 pixel grid of small_font.png (the
-- characters from space to "_"), each letter 16 x 16 units.
lf:create_font("hud", 16, 16, 0, 4)
for code = 32, 95 do
    local cell = code - 32
    cut("letter_" .. code, "small_font", 256, 16, (cell % 32) * 8, math.floor(cell / 32) * 8, 8, 8)
    lf:add_letter_subtexture("hud", "letter_" .. code, string.char(code))
end

-- The points in the top-left corner: a text made once, kept on the screen by the HUD
-- wrapper (its position is its place relative to the camera), and replaced when they change.
HUD = { points = 1 } -- ids of the HUD's texts
lf:create_text("points", "hud", -532, 330, 0, 1)
lf:add_text("points", "POINTS    0")
lf:text_color("points", 1, 0.9, 0.4, 1)
lf:convert_to_hud("points")
lf:gameobject_upload("points", LAYER.hud, HUD.points)

local shown = 0
every_frame[#every_frame + 1] = function()
    local points = lf:get_points()
    if points ~= shown then
        shown = points
        lf:text_replace(LAYER.hud, HUD.points, string.format("POINTS %4d", points))
    end
end
