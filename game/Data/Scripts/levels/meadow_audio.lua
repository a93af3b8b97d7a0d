-- Music and sounds of the meadow. The sound files are made by tools/make_game_sounds.py.
--
-- Music plays in the background group and loops until it is removed; it goes on across level
-- changes. Effects play once. Positional sounds are heard only within their range of the
-- listener (the player, once there is one), louder near it and from the side they are on.

SOUND = {
    theme = "Data/Sounds/meadow_theme.wav",
    coin = "Data/Sounds/coin.wav",
    steps = { "Data/Sounds/step1.wav", "Data/Sounds/step2.wav", "Data/Sounds/step3.wav" },
    birds = { "Data/Sounds/birds1.wav", "Data/Sounds/birds2.wav" },
}
ID.birds = 4000

-- A track is stopped by its file name, the part of its path after the last "/"; play_music
-- (lib/flow.lua) stops the track another level started and keeps one copy playing when the
-- meadow is built again.
-- The theme starts a few hundredths of a second later, once the first frame is on screen: its
-- sound is made ready when it starts to play, the slowest part of the game's start. A timed
-- trigger without repeat runs its script once (triggers/theme_start.lua) and is gone.
ID.theme = 4100
lf:create_trigger("theme_start", 2, "Data/Scripts/triggers/theme_start.lua", "", 0, 0)
lf:timed_trigger_repeat("theme_start", 0.03, false)
lf:trigger_upload("theme_start", ID.theme)

-- Birds at the left of the meadow, singing a phrase every few seconds: a sound effect owns a
-- sound (here a collection that picks one of its files each time) and plays it after its
-- interval, again and again when it repeats. It lives in a layer like any object.
lf:create_sound_variety_collection("birds", 2000, -480, 120)
for _, path in ipairs(SOUND.birds) do
    lf:add_sound_to_variety_collection("birds", path)
end
lf:create_sound_effect("birdsong", "birds", 3.5, true)
lf:gameobject_upload("birdsong", LAYER.play, ID.birds)

-- Sounds that other objects take over by name: whoever takes one owns it, so make one per
-- owner. make_footsteps makes a collection of the three steps (a different one each step),
-- make_coin_sound the pickup chime at a coin's place.
function make_footsteps(name, range)
    lf:create_sound_variety_collection(name, range or 1500, 0, 0)
    for _, path in ipairs(SOUND.steps) do
        lf:add_sound_to_variety_collection(name, path)
    end
end

function make_coin_sound(name, x, y)
    lf:create_sound(name, SOUND.coin, 1500, x or 0, y or 0)
end

make_footsteps("footsteps")
make_coin_sound("coin_pickup")
