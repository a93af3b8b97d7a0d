-- Small helpers the sample game's scripts share. A game talks to the engine only through the
-- methods of a LuaFunctions object; these functions wrap the common patterns.
--
-- How the engine names things:
--   * Pictures, sub-textures (rectangles of a picture) and animations are registered once by
--     name and live until the game ends.
--   * A sprite is created under a name of our choosing, configured by that name, then uploaded
--     into a layer of the current level with an integer id. After the upload the name is free
--     again and the layer owns the sprite.
--   * Layers are numbered from 0 in the order they are created; later layers draw in front.

lf = LuaFunctions()

-- The art is pixel art drawn at two world units per picture pixel. The camera shows
-- 1280 x 720 world units, y up, centred on the camera position.
PIXEL = 2
SCREEN_W, SCREEN_H = 1280, 720

-- Sizes in pixels of every registered picture, filled by register_picture.
pictures = {}

-- Registers a PNG file as a texture and uploads it to the renderer. wrap_s and wrap_t are
-- 1 for pictures that repeat across a sprite (backdrops), 0 to clamp at the edges.
-- A picture is registered once: the game builds the meadow again after the title menu.
function register_picture(name, file, width, height, wrap_s, wrap_t)
    if pictures[name] then return end
    -- The third argument is accepted and ignored by the engine; the last one (0) means the
    -- sprite colour multiplies the picture, so sprites can tint and fade their pictures.
    lf:init_texture(name, "Data/Images/" .. file, 0, wrap_s or 0, wrap_t or 0, 0)
    lf:load_resource(0, name)
    pictures[name] = { w = width, h = height }
end

-- Texture coordinates (left, bottom, right, top) of a rectangle given in picture pixels from
-- the picture's top-left corner, the way a drawing program shows it. Texture coordinates
-- start at the picture's bottom-left corner.
function pixel_rect(picture, x, y, w, h)
    local p = pictures[picture]
    return x / p.w, 1 - (y + h) / p.h, (x + w) / p.w, 1 - y / p.h
end

-- Registers a rectangle of a picture as a named sub-texture.
function cut(name, picture, x, y, w, h)
    local left, bottom, right, top = pixel_rect(picture, x, y, w, h)
    lf:init_subtexture(picture, name, left, bottom, right, top)
end

-- Loop modes of animations. The engine names its kinds, states and modes in the global table
-- `velden` (velden.loop.RESTART and so on), made before the start-up script runs.
WRAP, STOP, PING_PONG = velden.loop.RESTART, velden.loop.STOP, velden.loop.PING_PONG

-- Registers an animation made of `count` frames of fw x fh pixels laid side by side in a
-- picture, starting at pixel (x, y). `seconds` is one number (every frame) or a list.
function strip_animation(name, picture, x, y, fw, fh, count, seconds, loop_mode)
    lf:init_animation(name, loop_mode or WRAP, 0)
    for i = 0, count - 1 do
        local frame = name .. "_" .. i
        cut(frame, picture, x + i * fw, y, fw, fh)
        local duration = type(seconds) == "table" and seconds[i + 1] or seconds
        lf:animation_add_frame(name, frame, duration)
    end
end

-- Unique names for sprites under construction.
local serial = 0
function new_name(prefix)
    serial = serial + 1
    return (prefix or "sprite") .. "_" .. serial
end

-- Kinds of create_sprite.
TEXTURED, ANIMATED, SCROLLING = velden.sprite.TEXTURED, velden.sprite.ANIMATED,
    velden.sprite.SCROLLING

-- Creates a sprite showing a rectangle of a picture (given in pixels), `scale` world units
-- per pixel, centred on (x, y). Returns its name; it still has to be uploaded.
function picture_sprite(picture, x, y, rect, scale)
    local name = new_name(picture)
    local px, py, w, h = rect[1], rect[2], rect[3], rect[4]
    scale = scale or PIXEL
    lf:create_sprite(name, TEXTURED, picture, x, y)
    -- sprite_shape takes half the width and half the height.
    lf:sprite_shape(name, TEXTURED, w * scale / 2, h * scale / 2)
    lf:textured_sprite_tex_coords(name, TEXTURED, pixel_rect(picture, px, py, w, h))
    return name
end

-- Creates a sprite playing a registered animation whose frames are w x h pixels.
function animated_sprite(animation, x, y, w, h, scale)
    local name = new_name(animation)
    scale = scale or PIXEL
    lf:create_sprite(name, ANIMATED, animation, x, y)
    lf:sprite_shape(name, ANIMATED, w * scale / 2, h * scale / 2)
    return name
end

-- A plank 64 units wide at height y from x1: a strip of its own (code) tied to unstable floor
-- id on the layer, which crumbles 0.6 s after a landing and is back 3 s after it fell. Its
-- looks are the "plank_*" animations.
function plank_floor(id, code, x1, y, layer)
    lf:create_segment_with_code(x1, y, x1 + 64, y, code)
    lf:upload_segmentstrip()
    lf:unstablefloor_create(id, 3, 0.6, layer)
    lf:unstablefloor_segmentstrip(id, code)
    local looks = {}
    for _, look in ipairs({ "plank_solid", "plank_broken", "plank_cracking" }) do
        looks[#looks + 1] = animated_sprite(look, x1 + 32, y - 12, 32, 12)
    end
    lf:unstablefloor_animations(id, looks[1], looks[2], looks[3])
end

-- Hands a sprite to a layer of the current level under an id.
function upload(name, layer, id)
    lf:gameobject_upload(name, layer, id or 0)
end

-- Moves, turns, scales and colours a sprite along key frames. Each key frame is
-- {time (0..1 along the timeline), x, y, angle, scale, {r, g, b, a}}; the sprite's own state
-- is the key frame at time 0. `seconds` is the timeline's length. A looping timeline returns to
-- the sprite's own state at time 1 and starts again; one that does not loop removes itself
-- (and its sprite) at the end. Returns the name of the new object, which takes the sprite
-- over and is uploaded instead of it.
function key_frames(sprite, seconds, frames, looping)
    local name = new_name("morph")
    if looping == nil then looping = true end
    lf:remorfable_sprite(name, sprite, 1 / seconds, looping)
    for _, k in ipairs(frames) do
        lf:add_key_frame(k[1], k[2], k[3], k[4] or 0, k[5] or 1)
        -- A key frame without a colour fades to transparent black, so always give one.
        local c = k[6] or { 1, 1, 1, 1 }
        lf:add_key_frame_color(c[1], c[2], c[3], c[4])
        lf:upload_key_frame(name)
    end
    return name
end

-- Writes a line of text with the "small_font" picture (8 x 8 pixel letters, space to Z in
-- two rows of 32), one sprite per letter, starting with the first letter's centre at (x, y).
-- Returns the names of the letter sprites, still to be uploaded.
function small_text(text, x, y, scale)
    scale = scale or PIXEL
    local names = {}
    for i = 1, #text do
        local code = string.byte(text, i)
        if code >= 97 and code <= 122 then code = code - 32 end -- only capitals exist
        if code > 32 and code < 96 then
            local cell = code - 32
            local cx, cy = (cell % 32) * 8, math.floor(cell / 32) * 8
            names[#names + 1] = picture_sprite("small_font", x + (i - 1) * 8 * scale, y,
                { cx, cy, 8, 8 }, scale)
        end
    end
    return names
end
