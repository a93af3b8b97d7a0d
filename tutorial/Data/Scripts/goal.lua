-- The goal: a flag at the east end. Reaching it ends the game (goal_reached.lua).
picture("flag", "flag.png") -- 16 x 32 pixels
GOAL = { id = 601, x = 3080 }
local y = ground_y(GOAL.x) + 32
lf:create_sprite("flag", TEXTURED, "flag", GOAL.x, y)
lf:sprite_shape("flag", TEXTURED, 16, 32)
lf:gameobject_upload("flag", LAYER.play, GOAL.id)

lf:create_trigger("goal", GATE, "Data/Scripts/goal_reached.lua", "", GOAL.x, y)
lf:create_shape("goal", velden.shape.BOX, 16, 32)
lf:trigger_shape("goal", GATE, "goal")
lf:trigger_add_group_i_belong_to("goal", GATE, "goal")
lf:trigger_upload("goal", GOAL.id)
