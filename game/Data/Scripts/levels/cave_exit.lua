-- The hero walked into the daylight at the cave's east end: the game is won. The end screen
-- comes at the end of this frame (lib/flow.lua).
go_to("end")
