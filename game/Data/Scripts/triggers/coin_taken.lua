-- A coin's gate was entered: `parameter` is the coin's id. The gate stays where the coin was,
-- so a second visit finds the coin already taken.
if coins_taken[parameter] then return end
coins_taken[parameter] = true
coins_taken.count = coins_taken.count + 1

-- The coin's sprite and its glow share the id, one in each layer.
lf:remove_gameobject(parameter)

-- A flash where the coin was: a glow that swells and fades, then removes itself.
for _, place in ipairs(coin_places) do
    if place.id == parameter then
        local flash = picture_sprite("glow", place.x, place.y, { 0, 0, 64, 64 }, 0.6)
        lf:sprite_color(flash, 1, 0.9, 0.4, 0.9)
        upload(key_frames(flash, 0.5, {
            { 1, place.x, place.y + 12, 0, 3, { 1, 0.9, 0.4, 0 } },
        }, false), LAYER.glow, ID.scenery)
    end
end
