-- Runs once in every frame while the game is running, after everything has moved and the
-- triggers have fired, before the frame is drawn; `parameter` is the frame's number. Set by
-- meadow_hud.lua. The frame script stays across levels, so it checks that the meadow is current.
if current_level ~= "meadow" then return end
hud_refresh()
show_health()
