-- The meadow's machines: a row of planks that give way under whoever lands on them (first
-- screen), a hammer pounding the path (second), a cannon on the ledge above the plateau firing
-- west across it (third), and a lever that opens the gate in the cliff at the east end, behind
-- which the cave begins (fourth). Their pictures are in machines.png (tools/make_machine_art.py),
-- a grid of 32 x 32 pixel cells.
--
-- Groups: the lever's use trigger belongs to "lever", the hammer's head and the cannon balls to
-- "hazard"; a player trigger that lists those among the groups that may use it can pull the
-- lever and is hit by the hazards (each hit runs triggers/hazard_hit.lua).

register_picture("machines", "machines.png", 128, 96)
local function cell(column, row, w, h, oy)
    return { column * 32, row * 32 + (oy or 0), w or 32, h or 32 }
end
local function machine_sprite(x, y, rect, scale)
    return picture_sprite("machines", x, y, rect, scale)
end
-- An animation of one picture cell, for the parts that must be animated sprites.
local function machine_animation(name, rect)
    cut(name .. "_0", "machines", unpack(rect))
    lf:init_animation(name, WRAP, 0)
    lf:animation_add_frame(name, name .. "_0", 1)
end
machine_animation("cylinder", cell(0, 1))
machine_animation("piston", cell(1, 1, 32, 24, 4))
machine_animation("plank_solid", cell(0, 2, 32, 12))
machine_animation("plank_cracking", cell(1, 2, 32, 12))
machine_animation("plank_broken", cell(2, 2, 32, 12))
machine_animation("cannon", cell(3, 2, 32, 32))

ID.door, ID.lever, ID.hammer, ID.cannon, ID.ball, ID.plank = 30, 31, 32, 33, 34, 40
COLLIDER.gate, COLLIDER.cliff = 10, 11
MACHINES = { gate_x = 4300, lever_x = 4160, hammer_x = 900, cannon_x = 2460 }
local gate_x = MACHINES.gate_x

------------------------------------------------------------------------------------------------
-- The cliff at the east end: dirt from the top of the gate up past the top of the screen, over
-- a dark passage into the hill. The gate closes the passage; the cave's mouth is behind it.

local cliff_left, cliff_bottom = MEADOW.right - 4 * TILE_SIZE, GROUND_Y + 96
local passage = new_name("passage")
lf:create_sprite(passage, TEXTURED, "", (cliff_left + MEADOW.right) / 2, (GROUND_Y + cliff_bottom) / 2)
lf:sprite_shape(passage, TEXTURED, (MEADOW.right - cliff_left) / 2, (cliff_bottom - GROUND_Y) / 2)
lf:sprite_color(passage, 0.08, 0.06, 0.12, 1)
upload(passage, LAYER.play, ID.scenery)
for column = 0, 3 do
    local x = cliff_left + (column + 0.5) * TILE_SIZE
    for y = cliff_bottom + TILE_SIZE / 2, SCREEN_H / 2 + TILE_SIZE, TILE_SIZE do
        local key = y + TILE_SIZE / 2 > SCREEN_H / 2 and "G" or (column + y) % 3 == 0 and "S" or "D"
        upload(picture_sprite("tiles", x, y, tile_rects[key]), LAYER.play, ID.scenery)
    end
end
local cliff_h = SCREEN_H / 2 + TILE_SIZE - cliff_bottom
lf:create_shape("cliff", 3, (MEADOW.right - cliff_left) / 2, cliff_h / 2)
lf:create_collider(COLLIDER.cliff, "cliff", (cliff_left + MEADOW.right) / 2, cliff_bottom + cliff_h / 2)

-- The cave's mouth: a gate in the group "exit" at the end of the passage. The hero walking in
-- runs levels/meadow_exit.lua, which has the game move on to the cave.
lf:create_trigger("cave_mouth", 0, "Data/Scripts/levels/meadow_exit.lua", "", MEADOW.right - 60,
    GROUND_Y + 40)
lf:create_shape("cave_mouth", 3, 20, 40)
lf:trigger_shape("cave_mouth", 0, "cave_mouth")
lf:trigger_add_group_i_belong_to("cave_mouth", 0, "exit")
ID.exit = 35
lf:trigger_upload("cave_mouth", ID.exit)

------------------------------------------------------------------------------------------------
-- The gate and its lever. A closed door keeps its collider among the level's colliders (the
-- player cannot pass); the lever flips it through two signals: when the lever is switched on
-- (it was off) the gate opens, when it is switched off it closes.

lf:create_shape("gate", 3, 14, 48)
lf:create_collider(COLLIDER.gate, "gate", gate_x, GROUND_Y + 48)
local open_look = machine_sprite(gate_x, GROUND_Y + 48, cell(3, 0), 3)
local shut_look = machine_sprite(gate_x, GROUND_Y + 48, cell(2, 0), 3)
lf:create_sound("gate_opens", SOUND.coin, 1500, gate_x, GROUND_Y)
lf:create_door("gate", open_look, shut_look, "gate_opens", "", COLLIDER.gate, true)
upload("gate", LAYER.play, ID.door)

local lever_x = MACHINES.lever_x
local off_look = machine_sprite(lever_x, GROUND_Y + 16, cell(0, 0))
local on_look = machine_sprite(lever_x, GROUND_Y + 16, cell(1, 0))
lf:create_lever("lever", off_look, on_look, "", "", false)
upload("lever", LAYER.play, ID.lever)
lf:add_lever_door_signal(ID.lever, false, ID.door, true)
lf:add_lever_door_signal(ID.lever, true, ID.door, false)

-- The player's use key over the lever pulls it (the trigger's id is the lever's).
lf:create_trigger("lever_use", 1, "Data/Scripts/triggers/lever_pulled.lua", "", lever_x,
    GROUND_Y + 24)
lf:create_circle("lever_use", 0, 0, 28)
lf:trigger_shape("lever_use", 1, "lever_use")
lf:trigger_add_group_i_belong_to("lever_use", 1, "lever")
lf:trigger_upload("lever_use", ID.lever)

------------------------------------------------------------------------------------------------
-- The hammer hangs above the path on the second screen: it rests 1.2 s up, slams down in a
-- quarter second, rests half a second and climbs back in a second. Time a run under it.

local hammer_x, hammer_y = MACHINES.hammer_x, GROUND_Y + 190
lf:create_hammer(ID.hammer, hammer_x, hammer_y, LAYER.play)
lf:hammer_set_cylinder_animatedsprite(ID.hammer, animated_sprite("cylinder", 0, 0, 32, 32))
lf:hammer_set_piston_animatedsprite(ID.hammer, animated_sprite("piston", 0, 0, 32, 24))
-- The piston picture lies along x; the stroke points down, so it is turned a quarter back.
lf:hammer_set_piston_angledifference(ID.hammer, math.pi / 2)
local rod = machine_sprite(0, 0, cell(2, 1, 32, 8, 12))
lf:hammer_set_crankshaft_sprite(ID.hammer, rod)
lf:hammer_piston_locations(ID.hammer, 0, -20, 0, -160)
lf:hammer_add_idle_pair(ID.hammer, 1.2, 0.5)
lf:hammer_add_speed_pair(ID.hammer, 560, 140)
lf:create_trigger("hammer_head", 0, "Data/Scripts/triggers/hazard_hit.lua", "", 0, 0)
lf:create_shape("hammer_head", 3, 28, 16)
lf:trigger_shape("hammer_head", 0, "hammer_head")
lf:trigger_add_group_i_belong_to("hammer_head", 0, "hazard")
lf:hammer_add_trigger(ID.hammer, "hammer_head")

------------------------------------------------------------------------------------------------
-- The cannon on the ledge above the plateau fires a glowing ball west across the plateau, after
-- 2 s and then every 3 s and 2 s in turn; each ball flies for 2.5 s and is gone.

local cannon_x, cannon_y = MACHINES.cannon_x, LEDGE_Y[2] + 30
lf:create_shooter(ID.cannon, cannon_x, cannon_y, LAYER.play)
lf:shooter_set_idle_animation(ID.cannon, animated_sprite("cannon", 0, 0, 32, 32))
lf:shooter_set_idle_time(ID.cannon, 2, 3)
lf:create_bullet("ball", ID.ball)
local ball = machine_sprite(cannon_x - 24, cannon_y + 8, cell(3, 1, 16, 16, 8))
lf:bullet_set_graphics("ball", key_frames(ball, 2.5, {
    { 0.4, cannon_x - 400, GROUND_Y + TILE_SIZE + 30, 0, 1, { 1, 1, 1, 1 } },
    { 1, cannon_x - 900, GROUND_Y + 30, 0, 1, { 1, 1, 1, 1 } },
}, false))
lf:create_trigger("ball_hit", 0, "Data/Scripts/triggers/hazard_hit.lua", "", cannon_x, -1000)
lf:create_circle("ball_hit", 0, 0, 12)
lf:trigger_shape("ball_hit", 0, "ball_hit")
lf:trigger_add_group_i_belong_to("ball_hit", 0, "hazard")
lf:bullet_set_trigger("ball", "ball_hit")
lf:shooter_set_bullet(ID.cannon, "ball", LAYER.play)

------------------------------------------------------------------------------------------------
-- Planks above the left of the meadow: each is a strip of its own (codes 21 to 24) tied to an
-- unstable floor. A landing starts a 0.6 s crumble; the plank then lets go for 3 s.

for i = 0, 3 do
    local code, id = 21 + i, ID.plank + i
    local x1 = -300 + 64 * i
    local y = GROUND_Y + 130
    plank_floor(id, code, x1, y, LAYER.play)
end
