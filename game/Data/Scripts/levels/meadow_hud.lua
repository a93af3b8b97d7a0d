-- The HUD's live numbers: the coins taken beside the coin icon, and the points and the level
-- time under the right-hand panel, written with the font map that meadow_text.lua cuts from the
-- engine's small font picture. A text spitter's letters are fixed once typed, so a timed
-- trigger writes the numbers anew four times a second.

ID.hud_numbers = 2200
local top = SCREEN_H / 2 - 44
local gold = { 1, 0.86, 0.42, 1 }

local function number_line(name, text, x, y)
    lf:create_text(name, "hud_font", x, y, 0, 1) -- period 0: every letter at once
    lf:add_text(name, text)
    lf:text_color(name, gold[1], gold[2], gold[3], gold[4])
    lf:convert_to_hud(name)
    upload(name, LAYER.hud, ID.hud_numbers)
end

function hud_refresh()
    -- Each call removes the first object with the id: one per line written last time.
    for _ = 1, 3 do lf:remove_gameobject_from_layer(LAYER.hud, ID.hud_numbers) end
    local t = lf:get_time()
    number_line("hud_coins", string.format("%02d", coins_taken.count), 556, top)
    number_line("hud_points", string.format("POINTS %5d", level_points()), 520, top - 44)
    number_line("hud_time", string.format("TIME   %2d:%02d", math.floor(t / 60), t % 60), 520,
                top - 66)
end
hud_refresh()

lf:create_trigger("hud_clock", 2, "Data/Scripts/triggers/hud_refresh.lua", "", 0, 0)
lf:timed_trigger_repeat("hud_clock", 0.25, true)
lf:trigger_upload("hud_clock", ID.hud_numbers)
