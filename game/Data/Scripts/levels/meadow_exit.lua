-- The hero walked into the cave's mouth behind the gate: the game moves on to the cave. A new
-- level is not built inside a trigger's script; the frame script does it at the end of this
-- frame (lib/flow.lua).
go_to("cave")
