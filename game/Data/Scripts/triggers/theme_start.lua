-- Run once by the timed trigger of levels/meadow_audio.lua, just after the first frames: the
-- meadow's music, looping in the background group until it is removed.
local lf = LuaFunctions()
lf:remove_music("meadow_theme.wav")
lf:add_music(SOUND.theme)
