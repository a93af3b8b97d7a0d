-- The ground: flat, a slope up to a plateau, a slope down and flat again. Creatures stand on
-- segment strips with the point at their feet; lay them out from left to right.
GROUND = { { 0, -240 }, { 900, -240 }, { 1300, -140 }, { 2000, -140 }, { 2200, -240 },
    { 3200, -240 } }
lf:create_segment(GROUND[1][1], GROUND[1][2])
for i = 2, #GROUND do
    lf:add_segment(GROUND[i][1], GROUND[i][2])
end
lf:upload_segmentstrip()

-- The height of the ground at x, for placing things on it.
function ground_y(x)
    for i = 2, #GROUND do
        local a, b = GROUND[i - 1], GROUND[i]
        if x <= b[1] then
            return a[2] + (b[2] - a[2]) * (x - a[1]) / (b[1] - a[1])
        end
    end
    return GROUND[#GROUND][2]
end

-- What the ground looks like: under each segment a band turned along it, as long as the
-- segment and `depth` deep, its picture repeating every 64 units; below that, plain dirt down
-- past the bottom of the screen. Sprites are rectangles, so a slope is a turned one.
picture("ground", "ground.png", true, false) -- turf on dirt
picture("dirt", "dirt.png", true, true)
local function quad(texture, x, y, half_w, half_h, angle)
    local name = unique(texture)
    lf:create_sprite(name, TEXTURED, texture, x, y)
    lf:sprite_shape(name, TEXTURED, half_w, half_h)
    lf:textured_sprite_tex_coords(name, TEXTURED, 0, 0, half_w / 32, half_h / 32)
    lf:sprite_rotation(name, angle)
    lf:gameobject_upload(name, LAYER.play, 0)
end
local function band(texture, a, b, depth)
    local dx, dy = b[1] - a[1], b[2] - a[2]
    local length = math.sqrt(dx * dx + dy * dy)
    -- The middle of the band: half way along the segment, half the depth below it.
    quad(texture, (a[1] + b[1]) / 2 + dy / length * depth / 2,
        (a[2] + b[2]) / 2 - dx / length * depth / 2, length / 2, depth / 2, math.atan2(dy, dx))
end
for i = 2, #GROUND do
    local a, b = GROUND[i - 1], GROUND[i]
    local top = math.min(a[2], b[2])
    quad("dirt", (a[1] + b[1]) / 2, top - 200, (b[1] - a[1]) / 2, 200, 0)
    band("dirt", a, b, 200)
end
for i = 2, #GROUND do
    band("ground", GROUND[i - 1], GROUND[i], 64)
end
