-- Run by the signpost's gate when someone who may talk to it walks up: builds the signpost's
-- dialog of speech bubbles with a question and starts it. Space goes on, the up and down arrows
-- choose an answer.
--
-- A dialog is built in advance, frame by frame. Each frame shows bubbles ("lines") and may end
-- in a question whose answers lead to other frames; a frame can run a script when it is shown.
-- The game then runs the dialog in the dialog state (4) and returns to running (0) at its end.
local lf = LuaFunctions()

local SIGN_X, SIGN_TOP = SIGN.x, SIGN.top

-- Bubbles and texts go to the HUD layer, bubbles first so the texts are drawn over them. They
-- fade in and out over 0.3 seconds; texts are typed out at 25 letters a second.
lf:new_dialog(LAYER.hud, LAYER.hud, 0.3, 0.3, 0.04)

-- Every line: anchored at its bubble's bottom-left corner (modes 1, 1), text left-aligned,
-- in the engine's built-in proportional font "font". Corner radius 10, margin 6, 4 units
-- between lines, letters 24 units high, no extra letter gap, scale 1.
lf:set_line_settings_1(0, 1, 1, 1, "font")
lf:set_line_settings_2(0, 10, 6, 4, 24, 0, 1)

-- Adds a line of text lines to the frame being built; it stays for `stay` advances.
local function say(texts, stay)
    lf:new_line(0, SIGN_X - 30, SIGN_TOP + 40, SIGN_X, SIGN_TOP, stay or 1)
    for _, text in ipairs(texts) do lf:add_line_text(text) end
    lf:upload_line()
end

lf:new_frame(0, 1)
say({ "Hello, traveller!", "This is the meadow.", "(Press space)" })
lf:upload_frame()

lf:new_frame(1, -1) -- next is only used when the question has no answers
say({ "Shall I paint the sky", "in evening colours?" })
-- The question: its own bubble, right of the sign; modes and font as the lines, and the
-- same sizes. The answers lead to frames 2 and 3.
lf:set_line_settings_1(1, 1, 1, 0, "font")
lf:set_line_settings_2(1, 10, 6, 4, 24, 0, 1)
lf:new_line(1, SIGN_X + 340, SIGN_TOP + 40, SIGN_X + 300, SIGN_TOP, 0)
lf:add_question_option("Yes, please!", 2)
lf:add_question_option("No, thank you.", 3)
lf:upload_question()
lf:upload_frame()

lf:new_frame(2, -1)
lf:frame_add_script("Data/Scripts/levels/meadow_sunset.lua")
say({ "There you go!" })
lf:upload_frame()

lf:new_frame(3, -1)
say({ "As you wish." })
lf:upload_frame()

lf:set_game_state(4) -- 4: dialog
