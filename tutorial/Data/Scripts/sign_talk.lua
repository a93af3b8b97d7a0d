-- Space in front of the signpost: builds its dialog and starts it. Space goes on; up and down
-- choose an answer. Bubbles and texts go into the HUD layer.
lf:new_dialog(LAYER.hud, LAYER.hud, 0.2, 0.2, 0.03)

-- Every bubble: anchored at its bottom-left corner, text left-aligned, in the engine's letter
-- font "font" with letters 24 units high.
local SIZE, MARGIN, CORNER = 24, 8, 10
local LINE = velden.dialog.LINE
lf:set_line_settings_1(LINE, velden.anchor_x.LEFT, velden.anchor_y.BOTTOM, velden.align.LEFT,
    "font")
lf:set_line_settings_2(LINE, CORNER, MARGIN, 4, SIZE, 0, 1)

-- Where the sign's bubbles start, over its top, and how wide a bubble for these lines is.
local x, y = SIGN.x - 40, ground_y(SIGN.x) + 110
local function bubble_width(lines)
    local widest = 0
    for _, text in ipairs(lines) do
        widest = math.max(widest, lf:get_text_width("font", text, SIZE))
    end
    return widest + 2 * (MARGIN + CORNER)
end

local function say(lines)
    lf:new_line(LINE, x, y, SIGN.x, y - 40, 1)
    for _, text in ipairs(lines) do
        lf:add_line_text(text)
    end
    lf:upload_line()
end

lf:new_frame(0, 1)
say({ "Welcome, traveller!", "Coins are worth 10 points." })
lf:upload_frame()

-- The question goes right of the sign's bubble, 20 units clear of it: measured, not guessed.
local asking = { "A door bars the way east.", "Will you find the lever?" }
lf:new_frame(1, velden.dialog.END)
say(asking)
local QUESTION = velden.dialog.QUESTION
lf:set_line_settings_1(QUESTION, velden.anchor_x.LEFT, velden.anchor_y.BOTTOM, 0, "font")
lf:set_line_settings_2(QUESTION, CORNER, MARGIN, 4, SIZE, 0, 1)
lf:new_line(QUESTION, x + bubble_width(asking) + 20, y, x + bubble_width(asking), y + 20, 0)
lf:add_question_option("I will!", 2)
lf:add_question_option("Maybe.", 3)
lf:upload_question()
lf:upload_frame()

lf:new_frame(2, velden.dialog.END)
say({ "Good luck!" })
lf:upload_frame()

lf:new_frame(3, velden.dialog.END)
say({ "Take your time." })
lf:upload_frame()

lf:set_game_state(velden.state.DIALOG)
