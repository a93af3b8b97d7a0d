-- The signpost at the west end of the meadow talks to whoever walks up to it: a gate trigger
-- around the post runs triggers/sign_talk.lua, which builds and starts its dialog. Gates in the
-- group "talker" (the player's, for one) may use it; the talk starts when such a gate enters.
SIGN = { x = -560, top = GROUND_Y + 32, id = 21 }

lf:create_trigger("sign_gate", 0, "Data/Scripts/triggers/sign_talk.lua", "", SIGN.x, GROUND_Y + 40)
lf:create_shape("sign_gate", 3, 24, 40) -- a box 48 wide, 80 high
lf:trigger_shape("sign_gate", 0, "sign_gate")
lf:trigger_add_group_i_belong_to("sign_gate", 0, "talker")
lf:trigger_set_color("sign_gate", 0.4, 0.6, 1, 0.3)
lf:trigger_upload("sign_gate", SIGN.id)
