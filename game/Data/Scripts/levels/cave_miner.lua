-- The old miner's gate was entered: he talks, and asks whether he should light his lamps. The
-- answer changes the cave: "Yes" runs cave_lights.lua (the cave grows light and three more
-- coins appear in the passage behind him); "No" leaves it dark. He asks only once.
if miner_asked then return end
miner_asked = true
local lf = LuaFunctions()
local x, y = CAVE.miner_x, CAVE.low + 70

lf:new_dialog(LAYER.hud, LAYER.hud, 0.3, 0.3, 0.04)
lf:set_line_settings_1(0, 1, 1, 1, "font")
lf:set_line_settings_2(0, 10, 6, 4, 24, 0, 1)
local function say(texts)
    lf:new_line(0, x - 330, y + 60, x - 20, y, 1)
    for _, text in ipairs(texts) do lf:add_line_text(text) end
    lf:upload_line()
end

lf:new_frame(0, 1)
say({ "Careful, young one!", "The passage ahead is dark." })
lf:upload_frame()

lf:new_frame(1, -1)
say({ "Shall I light my lamps", "along the way?" })
lf:set_line_settings_1(1, 1, 1, 0, "font")
lf:set_line_settings_2(1, 10, 6, 4, 24, 0, 1)
lf:new_line(1, x + 40, y + 60, x + 20, y, 0)
lf:add_question_option("Yes, please!", 2)
lf:add_question_option("No, I like the dark.", 3)
lf:upload_question()
lf:upload_frame()

lf:new_frame(2, -1)
lf:frame_add_script("Data/Scripts/levels/cave_lights.lua")
say({ "There! And look what", "the light shows..." })
lf:upload_frame()

lf:new_frame(3, -1)
say({ "Mind the cannon, then." })
lf:upload_frame()

lf:set_game_state(4) -- 4: dialog
