-- A door blocks the way near the end; the lever before it opens it. Their pictures are 32 x 32
-- cells of machines.png: lever off, lever on, door shut, door open.
picture("machines", "machines.png")
local function machine(name, cell, x, y, half)
    lf:create_sprite(name, TEXTURED, "machines", x, y)
    lf:sprite_shape(name, TEXTURED, half, half)
    lf:textured_sprite_tex_coords(name, TEXTURED, cell * 32 / 128, 1 - 32 / 96, (cell + 1) * 32 / 128, 1)
end

DOOR = { id = 301, x = 2600 }
LEVER = { id = 302, x = 2450 }
local floor = ground_y(DOOR.x)

-- A closed door keeps a collider in the level. This one reaches up to the sky, so that nobody
-- jumps over the door.
lf:create_shape("door", velden.shape.BOX, 20, 400)
lf:create_collider(DOOR.id, "door", DOOR.x, floor + 400)
machine("door_open", 3, DOOR.x, floor + 96, 96)
machine("door_shut", 2, DOOR.x, floor + 96, 96)
lf:create_door("door", "door_open", "door_shut", "", "", DOOR.id, true)
lf:gameobject_upload("door", LAYER.play, DOOR.id)

machine("lever_off", 0, LEVER.x, floor + 32, 32)
machine("lever_on", 1, LEVER.x, floor + 32, 32)
lf:create_lever("lever", "lever_off", "lever_on", "", "", false)
lf:gameobject_upload("lever", LAYER.play, LEVER.id)
-- Used while off (it turns on), the lever opens the door; used while on, it closes it.
lf:add_lever_door_signal(LEVER.id, false, DOOR.id, true)
lf:add_lever_door_signal(LEVER.id, true, DOOR.id, false)

-- Space over the lever uses it: a use trigger, whose script gets the lever's id.
lf:create_trigger("lever", USE, "Data/Scripts/lever_used.lua", "", LEVER.x, floor + 32)
lf:create_circle("lever", 0, 0, 40)
lf:trigger_shape("lever", USE, "lever")
lf:trigger_add_group_i_belong_to("lever", USE, "lever")
lf:trigger_upload("lever", LEVER.id)
