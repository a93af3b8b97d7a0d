-- Builders of scenery that any level can use: repeating backdrops, ground made from a tile
-- map, and decorations standing on the ground. They use the pictures registered in art.lua.

-- A band of a repeating picture across the whole screen, centred at height b.y, drawn at
-- b.scale world units per pixel. The picture repeats as often as it fits across; b.shift
-- moves the pattern sideways (in picture widths). With b.speed (picture widths per second) the
-- band is a scrolling sprite that slides its picture to the left for ever. It is uploaded into
-- layer b.layer with id b.id.
function backdrop(b)
    local name = new_name(b.picture)
    local p = pictures[b.picture]
    local scale = b.scale or PIXEL
    local repeats = SCREEN_W / (p.w * scale)
    local kind = b.speed and SCROLLING or TEXTURED
    lf:create_sprite(name, kind, b.picture, 0, b.y)
    lf:sprite_shape(name, kind, SCREEN_W / 2, p.h * scale / 2)
    if b.speed then
        -- A scrolling sprite jumps back to its first coordinates once its right edge passes
        -- 2; ending them at 1 makes that jump exactly one picture width, so it never shows.
        lf:textured_sprite_tex_coords(name, kind, 1 - repeats, 0, 1, 1)
        lf:scrolling_sprite(name, 1, b.speed) -- 1: horizontal
    else
        local shift = b.shift or 0
        lf:textured_sprite_tex_coords(name, kind, shift, 0, shift + repeats, 1)
    end
    if b.colour then
        lf:sprite_color(name, unpack(b.colour))
    end
    upload(name, b.layer, b.id)
end

-- Builds the ground from a map of tiles: one string per row of tiles, top row first, one
-- letter per tile (the keys of tile_rects in art.lua, anything else for nothing). The bottom
-- row sits on the bottom of the screen; each tile is TILE_SIZE world units square.
TILE_SIZE = TILE * PIXEL

function build_tiles(map, layer, id)
    for row, line in ipairs(map) do
        local y = -SCREEN_H / 2 + (#map - row + 0.5) * TILE_SIZE
        for col = 1, #line do
            local key = line:sub(col, col)
            if tile_rects[key] then
                local x = -SCREEN_W / 2 + (col - 0.5) * TILE_SIZE
                upload(picture_sprite("tiles", x, y, tile_rects[key]), layer, id)
            end
        end
    end
end

-- A decoration (one tile of art) standing on a surface at height `ground`.
function decorate(key, x, ground, layer, id)
    local name = picture_sprite("tiles", x, ground + TILE_SIZE / 2 - PIXEL, deco_rects[key])
    upload(name, layer, id)
end
