-- Escape during play: the game stops where it is and a small menu opens in the level's pause
-- layer (fixed on the screen): RESUME, TITLE and QUIT, driven by the arrows and Return like the
-- title menu (whose controller the menu keeps). The level's layers are frozen and the timer is
-- stopped until RESUME (or Escape again).
local lf = LuaFunctions()
PAUSE = { ids = {} }
lf:timer_stop()
for layer = 0, LAYER.pause - 1 do
    lf:set_layer_freeze(layer, true)
end

local function add(name, id)
    upload(name, LAYER.pause, id)
    PAUSE.ids[#PAUSE.ids + 1] = id
end

local panel = new_name("pause_panel")
lf:create_sprite(panel, TEXTURED, "", 0, -10)
lf:sprite_shape(panel, TEXTURED, 150, 150)
lf:sprite_color(panel, 0.08, 0.06, 0.15, 0.75)
add(panel, 4100)
for _, name in ipairs(small_text("PAUSED", -5 * 8 * PIXEL / 2 - 8, 100, PIXEL * 1.5)) do
    add(name, 4100)
end

-- Rows of buttons.png: RESUME 4 and 5, TITLE 6 and 7, QUIT 2 and 3 (not focused, focused).
local function button(name, row, y, script)
    local normal = picture_sprite("buttons", 0, y, { 8, row * 32 + 4, 112, 24 })
    local focused = picture_sprite("buttons", 0, y, { 8, (row + 1) * 32 + 4, 112, 24 })
    lf:create_button(name, normal, focused, "Data/Sounds/menu_press.wav",
        "Data/Sounds/menu_move.wav", script)
end
button("pause_resume", 4, 40, "Data/Scripts/menu/resume.lua")
button("pause_title", 6, -30, "Data/Scripts/menu/to_title.lua")
button("pause_quit", 2, -100, "Data/Scripts/menu/quit_game.lua")
lf:button_dependencies("pause_resume", "pause_quit", "pause_title", "", "")
lf:button_dependencies("pause_title", "pause_resume", "pause_quit", "", "")
lf:button_dependencies("pause_quit", "pause_title", "pause_resume", "", "")
lf:set_focused_button("pause_resume")
add("pause_resume", 4101)
add("pause_title", 4102)
add("pause_quit", 4103)

lf:set_game_state(1) -- 1: menu
report("paused")
