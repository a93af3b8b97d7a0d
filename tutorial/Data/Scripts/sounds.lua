-- Sounds: a chime for every coin, and birds singing near the start.

-- Each frame compares the points with the last frame's: more points, a coin was taken.
local last_points = lf:get_points()
every_frame[#every_frame + 1] = function()
    local points = lf:get_points()
    if points > last_points then
        lf:play_sfx("Data/Sounds/coin.wav")
    end
    last_points = points
end

-- Birds near the start: a positional sound heard within 900 units of (400, 0), louder the
-- nearer the player is, played every 4 seconds by a sound effect in the play layer.
lf:create_sound("birds", "Data/Sounds/birds1.wav", 900, 400, 0)
lf:create_sound_effect("birdsong", "birds", 4, true)
lf:gameobject_upload("birdsong", LAYER.play, 0)
