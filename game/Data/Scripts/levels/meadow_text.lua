-- Text in the meadow's HUD: the level's name typed out letter by letter under the title.
--
-- Text spitters draw with a font map: a font assembled from sub-textures, every letter the same
-- size. This one is cut from the "small_font" picture (8 x 8 pixel cells, 32 to a row, from the
-- space character to "_"), the same picture the engine builds its built-in grid font from.

-- lf:create_font(name, letter_height, letter_width, letter_spacing, line_spacing), world units.
lf:create_font("hud_font", 8 * PIXEL, 8 * PIXEL, 0, 2 * PIXEL)
for code = 32, 95 do
    local cell = code - 32
    local letter = "small_font_" .. code
    cut(letter, "small_font", (cell % 32) * 8, math.floor(cell / 32) * 8, 8, 8)
    lf:add_letter_subtexture("hud_font", letter, string.char(code))
end

-- Writes `text` centred on (x, y) in the HUD, one letter every `period` seconds.
function hud_text(name, text, x, y, period, colour)
    lf:create_text(name, "hud_font", x, y, period, 1)
    lf:add_text(name, text)
    lf:text_color(name, colour[1], colour[2], colour[3], colour[4])
    lf:convert_to_hud(name)
    upload(name, LAYER.hud, ID.hud)
end

LEVEL_NAME = "THE MEADOW"
hud_text("level_name", LEVEL_NAME, 0, SCREEN_H / 2 - 44, 0.09, { 1, 0.86, 0.42, 1 })
