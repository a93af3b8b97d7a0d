-- The title menu, shown over the meadow before play: the game's name and two buttons, START
-- and QUIT, driven by the keyboard (the up and down arrows move the focus, Return presses).
-- The game stays in its menu state (1) until a button's script changes it; meanwhile the
-- level behind keeps moving, but the HUD is hidden and held still so that the level's title
-- shows when play begins.
lf:do_file("Data/Scripts/lib/keys.lua")

-- The button pictures: one look per 32-pixel row (START, START focused, QUIT, QUIT focused,
-- then RESUME and TITLE for the pause menu and the end screen), each 112 x 24 pixels, made by
-- tools/make_game_art.py.
register_picture("buttons", "buttons.png", 128, 256)

-- Everything of the menu goes into a layer of its own, in front of the others and fixed on
-- the screen (parallax 0). Its objects' ids are listed so START can remove them again.
TITLE_MENU = { layer = lf:get_num_layers(), ids = {}, decor = 4000, start = 4001, quit = 4002 }
lf:create_layer(0, 0, 0)

local function add(name, id)
    upload(name, TITLE_MENU.layer, id)
    TITLE_MENU.ids[#TITLE_MENU.ids + 1] = id
end

-- The menu's keyboard controller. Listener types: 0 up, 1 down, 2 left, 3 right, 4 action.
-- A controller binds one key per command; upload_controller(0) gives it to the menu.
lf:add_input_listener(0, "up")
lf:add_input_listener(1, "down")
lf:add_input_listener(4, "enter")
lf:upload_controller(0)

-- A dark glass panel behind the buttons (an untextured sprite is a plain coloured quad).
local panel = new_name("menu_panel")
lf:create_sprite(panel, TEXTURED, "", 0, -78)
lf:sprite_shape(panel, TEXTURED, 170, 112)
lf:sprite_color(panel, 0.1, 0.07, 0.18, 0.55)
add(panel, TITLE_MENU.decor)

add(picture_sprite("logo", 0, 150, { 0, 0, 256, 64 }, 3), TITLE_MENU.decor)

-- A button is made from two sprites waiting in the temp list: the look while it is not
-- focused and the look while it is. Both are taken over by the button.
local function menu_button(name, row, y, script)
    local normal = picture_sprite("buttons", 0, y, { 8, row * 32 + 4, 112, 24 })
    local focused = picture_sprite("buttons", 0, y, { 8, (row + 1) * 32 + 4, 112, 24 })
    -- The press sound, then the focus sound (played as the focus arrives and as it leaves;
    -- an empty string plays nothing).
    lf:create_button(name, normal, focused, "Data/Sounds/menu_press.wav", "Data/Sounds/menu_move.wav", script)
end
menu_button("menu_start", 0, -30, "Data/Scripts/menu/start_game.lua")
menu_button("menu_quit", 2, -100, "Data/Scripts/menu/quit_game.lua")

-- Neighbours (up, down, left, right; "" leaves one unset): the focus wraps from one button to
-- the other both ways.
lf:button_dependencies("menu_start", "menu_quit", "menu_quit", "", "")
lf:button_dependencies("menu_quit", "menu_start", "menu_start", "", "")
-- The focus is set by name, so before the buttons are uploaded.
lf:set_focused_button("menu_start")
add("menu_start", TITLE_MENU.start)
add("menu_quit", TITLE_MENU.quit)

for _, name in ipairs(small_text("ARROWS AND RETURN", -128, -165, 2)) do
    add(name, TITLE_MENU.decor)
end

lf:set_layer_visibility(LAYER.hud, false)
lf:set_layer_freeze(LAYER.hud, true)
lf:set_game_state(1) -- 1: menu
report("title menu")
