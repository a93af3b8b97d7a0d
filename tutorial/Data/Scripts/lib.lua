-- Small helpers the other scripts use.
TEXTURED, ANIMATED = velden.sprite.TEXTURED, velden.sprite.ANIMATED
GATE, USE = velden.trigger.GATE, velden.trigger.USE

-- Registers Data/Images/<file> as the texture `name` and loads it. `across` and `up` say
-- whether the picture repeats when a sprite shows more than one copy of it.
function picture(name, file, across, up)
    local wrap = function(on) return on and velden.wrap.REPEAT or velden.wrap.CLAMP end
    lf:init_texture(name, "Data/Images/" .. file, 0, wrap(across), wrap(up),
        velden.environment.MODULATE)
    lf:load_resource(velden.resource.TEXTURE, name)
end

-- Registers the w x h pixel rectangle at (x, y), counted from the top-left corner of a
-- W x H picture, as the sub-texture `name`.
function cut(name, texture, W, H, x, y, w, h)
    lf:init_subtexture(texture, name, x / W, 1 - (y + h) / H, (x + w) / W, 1 - y / H)
end

-- Registers an animation of `count` frames of w x h pixels side by side from (x, y), each
-- shown for `seconds`.
function strip(name, texture, W, H, x, y, w, h, count, seconds)
    lf:init_animation(name, velden.loop.RESTART, velden.direction.FORWARD)
    for i = 0, count - 1 do
        cut(name .. "_" .. i, texture, W, H, x + i * w, y, w, h)
        lf:animation_add_frame(name, name .. "_" .. i, seconds)
    end
end

-- A new name for an object under construction.
local made = 0
function unique(prefix)
    made = made + 1
    return prefix .. "_" .. made
end
