-- A coin's gate was entered: `parameter` is the coin's id, which its gate, its sprite and its
-- glow share. The gate goes with the coin (lf:trigger_remove, an engine extension), so a coin
-- counts once.
lf:trigger_remove(parameter)
coins_taken[parameter] = true
coins_taken.count = coins_taken.count + 1
coin_taken() -- the points and the combo (meadow_effects.lua)

-- The coin's sprite and its glow share the id, one in each layer; its sparkles go too (the
-- coin numbered n has the id ID.coin + n, its sparkles ID.sparkle + n).
lf:remove_gameobject(parameter)
lf:remove_gameobject_from_layer(LAYER.glow, parameter - ID.coin + ID.sparkle)

-- Where the coin was: a glow that swells and fades, then removes itself, and a burst of
-- sparkles that fly off once (an emitter that removes itself when its last particle is gone).
for _, place in ipairs(coin_places) do
    if place.id == parameter then
        local flash = picture_sprite("glow", place.x, place.y, { 0, 0, 64, 64 }, 0.6)
        lf:sprite_color(flash, 1, 0.9, 0.4, 0.9)
        upload(key_frames(flash, 0.5, {
            { 1, place.x, place.y + 12, 0, 3, { 1, 0.9, 0.4, 0 } },
        }, false), LAYER.glow, ID.scenery)
        upload(sparkle_burst(place.x, place.y), LAYER.glow, ID.scenery)
    end
end
