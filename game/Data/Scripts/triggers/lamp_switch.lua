-- The lamp's timed trigger fires every two seconds. Timed triggers outlive their level, so the
-- script does nothing once another level has replaced the meadow.
if current_level ~= "meadow" then return end
lamp.step = lamp.step % #lamp.colours + 1
show_lamp()
