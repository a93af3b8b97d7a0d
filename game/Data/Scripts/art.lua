-- Registers every picture of the game, uploads it, and cuts the sub-textures and animations
-- that sprites name. The pictures are made by tools/make_game_art.py.

-- Backdrops repeat left to right (wrap_s 1), so one picture can cover any width.
register_picture("sky", "sky.png", 4, 128)
register_picture("sun", "sun.png", 32, 32)
register_picture("glow", "glow.png", 64, 64)
register_picture("clouds", "clouds.png", 512, 64, 1, 0)
register_picture("mountains", "mountains.png", 512, 128, 1, 0)
register_picture("hills", "hills.png", 512, 128, 1, 0)
register_picture("tiles", "tiles.png", 128, 128)
register_picture("hero", "hero.png", 256, 64)
register_picture("coin", "coin.png", 128, 16)
register_picture("torch", "torch.png", 128, 32)
register_picture("hud", "hud.png", 64, 64)
register_picture("logo", "logo.png", 256, 64)

-- The engine builds its two built-in fonts from these pictures once this script is done:
-- "font" has one letter per marker run on the bottom row of each 32-pixel band, from the
-- space character on; "small_font" is a grid of 8 x 8 cells, 32 to a row, space to Z.
register_picture("font", "font.png", 512, 128)
register_picture("small_font", "small_font.png", 256, 16)

-- The ground tiles: 32 x 32 cells of "tiles.png", named by the letters the level maps use.
TILE = 32
tile_cells = {
    G = { 0, 0 }, -- grass on top
    L = { 1, 0 }, -- grass, left end
    R = { 2, 0 }, -- grass, right end
    D = { 3, 0 }, -- dirt
    S = { 0, 1 }, -- dirt with stones
    ["["] = { 1, 1 }, -- floating ledge, left end
    ["="] = { 2, 1 }, -- floating ledge
    ["]"] = { 3, 1 }, -- floating ledge, right end
}
-- Decorations standing on the ground, one cell each.
deco_cells = {
    tuft = { 0, 2 }, flowers = { 1, 2 }, bush = { 2, 2 }, rock = { 3, 2 },
    sign = { 0, 3 }, crate = { 1, 3 }, mushroom = { 2, 3 }, fence = { 3, 3 },
}
-- Their rectangles in pixels ({x, y, w, h}), for sprites; each is a sub-texture too.
tile_rects, deco_rects = {}, {}
for key, cell in pairs(tile_cells) do
    tile_rects[key] = { cell[1] * TILE, cell[2] * TILE, TILE, TILE }
    cut("tile_" .. key, "tiles", unpack(tile_rects[key]))
end
for key, cell in pairs(deco_cells) do
    deco_rects[key] = { cell[1] * TILE, cell[2] * TILE, TILE, TILE }
    cut("deco_" .. key, "tiles", unpack(deco_rects[key]))
end

-- The hero: 32 x 32 frames; a walk cycle on the first row; standing (breathing, then a blink),
-- jumping and falling on the second.
strip_animation("hero_walk", "hero", 0, 0, 32, 32, 8, 0.075)
strip_animation("hero_idle", "hero", 0, 32, 32, 32, 4, { 0.6, 0.5, 0.6, 0.12 })
strip_animation("hero_jump", "hero", 128, 32, 32, 32, 1, 1)
strip_animation("hero_fall", "hero", 160, 32, 32, 32, 1, 1)

-- A coin spinning (8 frames of 16 x 16) and a torch flickering (8 frames of 16 x 32).
strip_animation("coin_spin", "coin", 0, 0, 16, 16, 8, 0.08)
strip_animation("torch_flame", "torch", 0, 0, 16, 32, 8, 0.09)

-- HUD pieces, in pixels of "hud.png".
hud_rects = {
    heart_full = { 0, 0, 16, 16 },
    heart_empty = { 16, 0, 16, 16 },
    coin_icon = { 32, 0, 16, 16 },
    panel = { 0, 32, 64, 24 },
}
for key, rect in pairs(hud_rects) do
    cut(key, "hud", unpack(rect))
end
