-- Runs once in every frame while the game is running, after everything has moved and the
-- triggers have fired, before the frame is drawn; `parameter` is the frame's number. Set by
-- levels/meadow_hud.lua; it stays across levels. It changes the level when a script asked for
-- it (lib/flow.lua), and keeps the HUD's numbers and the health bar up to date.
if next_level then
    local where = next_level
    next_level = nil
    change_level(where)
    return
end
if current_level == "meadow" or current_level == "cave" then
    hud_refresh()
    show_health()
end
