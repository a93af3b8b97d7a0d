-- The player reached the flag: the player stops, the score shows, and two seconds later the
-- game ends.
lf:trigger_remove(parameter)
lf:set_game_state(velden.state.FROZEN) -- the world goes on, the player stands still
lf:create_text("done", "hud", 0, 60, 0.05, 2) -- twice the size, a letter every 0.05 seconds
lf:add_text("done", "WELL DONE!")
lf:add_text("done", string.format("POINTS %d", lf:get_points()))
lf:text_color("done", 1, 0.9, 0.4, 1)
lf:convert_to_hud("done")
lf:gameobject_upload("done", LAYER.hud, 0)

lf:create_trigger("the_end", velden.trigger.TIMED, "Data/Scripts/the_end.lua", "", 0, 0)
lf:timed_trigger_repeat("the_end", 2, false)
lf:trigger_upload("the_end", 0)
