-- A signpost near the start that talks: space in front of it starts a dialog (sign_talk.lua).
-- Its picture is a 32 x 32 cell of tiles.png.
picture("tiles", "tiles.png")
SIGN = { id = 501, x = 360 }
local y = ground_y(SIGN.x) + 32
lf:create_sprite("sign", TEXTURED, "tiles", SIGN.x, y)
lf:sprite_shape("sign", TEXTURED, 32, 32)
lf:textured_sprite_tex_coords("sign", TEXTURED, 0, 1 - 128 / 128, 32 / 128, 1 - 96 / 128)
lf:gameobject_upload("sign", LAYER.play, SIGN.id)

lf:create_trigger("sign", USE, "Data/Scripts/sign_talk.lua", "", SIGN.x, y)
lf:create_shape("sign", velden.shape.BOX, 40, 40)
lf:trigger_shape("sign", USE, "sign")
lf:trigger_add_group_i_belong_to("sign", USE, "talker")
lf:trigger_upload("sign", SIGN.id)
