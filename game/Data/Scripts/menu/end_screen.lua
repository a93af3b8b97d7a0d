-- The end screen, reached through the daylight at the cave's end: the points (the time bonus
-- added), the time played, the best combo and the grade the points reach, over the cave's
-- far wall, and one button, TITLE, that goes back to the title menu.
local lf = LuaFunctions()
lf:timer_stop()
local time = game_time()
local bonus = lf:get_timed_points()
local total = level_points() + bonus
RESULT = { points = total, bonus = bonus, time = time, combo = best_combo(),
    grade = lf:get_level_name(total), coins = coins_taken.count }
report(string.format("the end: points %d (time bonus %d), time %d:%02d, best combo %d, grade %s, coins %d",
    RESULT.points, RESULT.bonus, math.floor(time / 60), time % 60, RESULT.combo, RESULT.grade,
    RESULT.coins))

LAYER = { back = 0, text = 1, pause = 2 }
lf:create_level(0, 0, 0, 0)
lf:create_layer(0, 0, 0) -- both fixed on the screen
lf:create_layer(0, 0, 0)
lf:create_layer(0, 0, 0)
lf:reset_all_extra_for_level_change()
lf:camera_set_position(0, 0)

backdrop { picture = "cave_wall", layer = LAYER.back, id = ID.scenery, y = 0, scale = SCREEN_H / 128 }
lf:layer_color(LAYER.back, 0.6, 0.55, 0.8, 1)
local panel = new_name("end_panel")
lf:create_sprite(panel, TEXTURED, "", 0, 20)
lf:sprite_shape(panel, TEXTURED, 330, 250)
lf:sprite_color(panel, 0.08, 0.06, 0.15, 0.8)
upload(panel, LAYER.text, ID.scenery)
upload(picture_sprite("logo", 0, 200, { 0, 0, 256, 64 }, 2), LAYER.text, ID.scenery)

local gold = { 1, 0.86, 0.42, 1 }
-- A text spitter of the HUD's font map, centred on (x, y), shown at once.
local function text(name, words, x, y, scale)
    lf:create_text(name, "hud_font", x, y, 0, scale or 1.5)
    lf:add_text(name, words)
    lf:text_color(name, gold[1], gold[2], gold[3], gold[4])
    upload(name, LAYER.text, ID.scenery)
end
text("end_title", "THE SUN AGAIN!", 0, 110, 2)
-- The results: a name on the left, its value on the right.
for i, row in ipairs({
    { "POINTS", tostring(RESULT.points) },
    { "TIME", string.format("%d:%02d", math.floor(time / 60), time % 60) },
    { "BEST COMBO", tostring(RESULT.combo) },
    { "GRADE", string.upper(RESULT.grade) },
}) do
    local y = 50 - (i - 1) * 35
    text("end_name_" .. i, row[1], -110, y)
    text("end_value_" .. i, row[2], 130, y)
end

local normal = picture_sprite("buttons", 0, -150, { 8, 6 * 32 + 4, 112, 24 })
local focused = picture_sprite("buttons", 0, -150, { 8, 7 * 32 + 4, 112, 24 })
lf:create_button("end_title_button", normal, focused, "Data/Sounds/menu_press.wav", "",
    "Data/Scripts/menu/to_title.lua")
lf:set_focused_button("end_title_button")
upload("end_title_button", LAYER.text, ID.scenery)

play_music(SOUND.theme)
lf:set_game_state(1) -- 1: menu
