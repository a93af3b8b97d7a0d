-- The HUD clock's timed trigger, four times a second. Timed triggers outlive their level, so
-- it does nothing once another level has replaced the meadow.
if current_level ~= "meadow" then return end
hud_refresh()
