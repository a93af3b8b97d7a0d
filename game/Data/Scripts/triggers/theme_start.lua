-- Run once by the timed trigger of levels/meadow_audio.lua, just after the first frames: the
-- meadow's music, looping in the background group until it is removed (lib/flow.lua).
play_music(SOUND.theme)
