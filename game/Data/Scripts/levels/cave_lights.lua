-- The miner lights his lamps (the answer "Yes"): the cave's layers lose their dark tint, lamps
-- glow along the passage, and three coins that lay hidden in the dark show behind the second
-- door.
local lf = LuaFunctions()
for _, c in ipairs(CAVE.dark) do
    local layer = c[1]
    if layer == LAYER.front then
        lf:layer_color(layer, 0.3, 0.26, 0.4, 1)
    else
        lf:layer_color(layer, 1, 1, 1, 1)
    end
end
for _, x in ipairs({ 1100, 1380, 1620, 1780 }) do
    local light = picture_sprite("glow", x, CAVE.low + 120, { 0, 0, 64, 64 }, 3)
    lf:sprite_color(light, 1, 0.8, 0.45, 0.7)
    upload(light, LAYER.glow, ID.scenery)
end
for i, place in ipairs({ { 1560, 90 }, { 1620, 130 }, { 1680, 130 } }) do
    coin(place[1], CAVE.low + place[2])
    local n = #coin_places
    sparkles(coin_places[n].x, coin_places[n].y + 4, n)
    coin_gate(n, coin_places[n])
end
cave_lit = true
report("the miner lit his lamps")
