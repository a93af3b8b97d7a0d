-- The HUD's live numbers: the coins taken beside the coin icon, and the points and the time
-- played under the right-hand panel, written with the font map that meadow_text.lua cuts from
-- the engine's small font picture. Each line is a text spitter of its own id, made once per
-- level (the cave runs this script too); the frame script (frame.lua) writes a line anew with
-- lf:text_replace whenever its number changes.

ID.hud_coins, ID.hud_points, ID.hud_time = 2201, 2202, 2203
local top = SCREEN_H / 2 - 44
local gold = { 1, 0.86, 0.42, 1 }

-- What each line shows now, so a line is replaced only when it changes.
hud_shown = {}

local function number_line(name, id, text, x, y)
    lf:create_text(name, "hud_font", x, y, 0, 1) -- period 0: every letter at once
    lf:add_text(name, text)
    lf:text_color(name, gold[1], gold[2], gold[3], gold[4])
    lf:convert_to_hud(name)
    upload(name, LAYER.hud, id)
    hud_shown[id] = text
end

-- Replaces the text of a HUD line (layer and id) when it differs from what it shows.
local function show(id, text)
    if hud_shown[id] == text then return end
    hud_shown[id] = text
    lf:text_replace(LAYER.hud, id, text)
end

local function time_text()
    local t = game_time()
    return string.format("TIME   %2d:%02d", math.floor(t / 60), t % 60)
end

function hud_refresh()
    show(ID.hud_coins, string.format("%02d", coins_taken.count))
    show(ID.hud_points, string.format("POINTS %5d", level_points()))
    show(ID.hud_time, time_text())
end

number_line("hud_coins", ID.hud_coins, string.format("%02d", coins_taken.count), 556, top)
number_line("hud_points", ID.hud_points, string.format("POINTS %5d", level_points()), 520,
    top - 44)
number_line("hud_time", ID.hud_time, time_text(), 520, top - 66)

-- The script the engine runs once in every frame of play (an engine extension): it keeps the
-- HUD's numbers and the health bar up to date and changes levels. It waits while a menu or a
-- dialog is open.
lf:set_frame_script("Data/Scripts/frame.lua")
