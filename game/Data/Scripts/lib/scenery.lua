-- Builders of scenery that any level can use: repeating backdrops, ground made from a tile
-- map, and decorations standing on the ground. They use the pictures registered in art.lua.

-- A band of a repeating picture across the whole screen, centred at height b.y, drawn at
-- b.scale world units per pixel. The picture repeats as often as it fits across; b.shift
-- moves the pattern sideways (in picture widths). With b.speed (picture widths per second) the
-- band is a scrolling sprite that slides its picture to the left for ever. It is uploaded into
-- layer b.layer with id b.id. In a level wider than the screen, b.travel is how far the
-- camera's centre goes east from 0 and b.parallax the layer's: the band is made wide enough to
-- fill the view all the way.
function backdrop(b)
    local name = new_name(b.picture)
    local p = pictures[b.picture]
    local scale = b.scale or PIXEL
    local extra = (b.travel or 0) * (b.parallax or 0)
    local width = SCREEN_W + extra
    local repeats = width / (p.w * scale)
    local kind = b.speed and SCROLLING or TEXTURED
    lf:create_sprite(name, kind, b.picture, extra / 2, b.y)
    lf:sprite_shape(name, kind, width / 2, p.h * scale / 2)
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

-- The ground of a side-scrolling level from a plan: one letter per column of tiles from x =
-- left: "0" a floor whose grass is at height ground, "1" a plateau one tile higher, "/" and
-- "\\" slopes between the two (a run of them climbs or falls one tile), " " a gap. The tiles
-- at a gap's edges are the grass's ends; slopes are grass tiles turned along the slope.
local function column_top(plan, c)
    local k = plan:sub(c, c)
    if k == "1" then return 2 end
    if k == " " or k == "" then return nil end
    return 1
end

-- The grass height at the left (t = 0) or right (t = 1) edge of column c.
local function plan_height(plan, c, ground, t)
    local k = plan:sub(c, c)
    if k == "1" then return ground + TILE_SIZE end
    if k == "/" or k == "\\" then
        local first, last = c, c
        while plan:sub(first - 1, first - 1) == k do first = first - 1 end
        while plan:sub(last + 1, last + 1) == k do last = last + 1 end
        local along = (c - first + t) / (last - first + 1)
        if k == "\\" then along = 1 - along end
        return ground + TILE_SIZE * along
    end
    return ground
end

-- The tiles are "tiles" and tile_rects (letters G, L, R, D and S as in art.lua) unless t.picture
-- and t.rects name others; a tile's grass lies t.inset units below its top edge (3 pixels).
function build_ground(plan, left, ground, layer, id, t)
    t = t or {}
    local picture, rects = t.picture or "tiles", t.rects or tile_rects
    local inset = t.inset or 3 * PIXEL
    for c = 1, #plan do
        local k = plan:sub(c, c)
        local sloped = k == "/" or k == "\\"
        local x = left + (c - 0.5) * TILE_SIZE
        local top = column_top(plan, c)
        if not top then
            -- A gap: darkness going down from a little below the grass.
            local depth = ground - 16 + SCREEN_H / 2
            local name = new_name("gap")
            lf:create_sprite(name, TEXTURED, "", x, -SCREEN_H / 2 + depth / 2)
            lf:sprite_shape(name, TEXTURED, TILE_SIZE / 2, depth / 2)
            lf:sprite_color(name, 0.1, 0.07, 0.08, 1)
            upload(name, layer, id)
        end
        if top then
            -- Rows of tiles from the grass down past the bottom of the screen.
            local grass = k == "1" and ground + TILE_SIZE or ground
            local row = 0
            repeat
                local y = grass + inset - TILE_SIZE / 2 - row * TILE_SIZE
                local key = (row == 0 and not sloped) and "G" or (c % 7 == 3 and "S" or "D")
                if key == "G" and c > 1 and not column_top(plan, c - 1) then key = "L" end
                if key == "G" and c < #plan and not column_top(plan, c + 1) then key = "R" end
                upload(picture_sprite(picture, x, y, rects[key]), layer, id)
                row = row + 1
            until y - TILE_SIZE / 2 <= -SCREEN_H / 2
            if sloped then
                -- A grass tile turned along the slope, its grass on the slope's line and its
                -- dirt covering the square tiles' top below.
                local y1, y2 = plan_height(plan, c, ground, 0), plan_height(plan, c, ground, 1)
                local angle = math.atan2(y2 - y1, TILE_SIZE)
                local down = TILE_SIZE / 2 - inset
                local name = picture_sprite(picture, x + math.sin(angle) * down,
                    (y1 + y2) / 2 - math.cos(angle) * down, rects.G)
                lf:sprite_shape(name, TEXTURED, TILE_SIZE / 2 / math.cos(angle) + 1, TILE_SIZE / 2)
                lf:sprite_rotation(name, angle)
                upload(name, layer, id)
            end
        end
    end
end

-- The segment strips of the same plan: one strip from each gap to the next, with a point
-- wherever the ground's kind changes.
function ground_strips(plan, left, ground)
    local open = false
    for c = 1, #plan + 1 do
        local k = plan:sub(c, c)
        local x = left + (c - 1) * TILE_SIZE
        if k == " " or k == "" then
            if open then
                lf:add_segment(x, plan_height(plan, c - 1, ground, 1))
                lf:upload_segmentstrip()
                open = false
            end
        elseif not open then
            lf:create_segment(x, plan_height(plan, c, ground, 0))
            open = true
        elseif k ~= plan:sub(c - 1, c - 1) then
            lf:add_segment(x, plan_height(plan, c, ground, 0))
        end
    end
end

-- A coin at (x, y): spinning, bobbing up and down, with a faint glow, in the level's play and
-- glow layers. Its id and place go into coin_places for its gate and sparkles.
function coin(x, y)
    local id = ID.coin + #coin_places + 1
    coin_places[#coin_places + 1] = { id = id, x = x, y = y }
    local sprite = animated_sprite("coin_spin", x, y, 16, 16)
    -- Half way through its 1.4 second loop the coin is 8 units higher.
    upload(key_frames(sprite, 1.4, { { 0.5, x, y + 8, 0, 1 } }), LAYER.play, id)
    local light = picture_sprite("glow", x, y + 4, { 0, 0, 64, 64 }, 0.9)
    lf:sprite_color(light, 1, 0.85, 0.35, 0.35)
    upload(light, LAYER.glow, id)
end
