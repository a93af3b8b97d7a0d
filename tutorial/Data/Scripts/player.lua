-- The player: a hero 64 units tall who walks with the arrow keys, jumps with the up arrow
-- (twice, the second time in the air) and uses things with space.
picture("hero", "hero.png") -- 256 x 64 pixels of 32 x 32 frames
strip("hero_walk", "hero", 256, 64, 0, 0, 32, 32, 8, 0.075)
strip("hero_idle", "hero", 256, 64, 0, 32, 32, 32, 4, 0.5)
strip("hero_jump", "hero", 256, 64, 128, 32, 32, 32, 1, 1)
strip("hero_fall", "hero", 256, 64, 160, 32, 32, 32, 1, 1)

HERO = { x = 160, y = -200 } -- where it starts, feet first
local PLAYER = velden.creature.PLAYER

-- 1. Names for the keys.
lf:add_vk_pair(velden.key.LEFT, "left")
lf:add_vk_pair(velden.key.RIGHT, "right")
lf:add_vk_pair(velden.key.UP, "up")
lf:add_vk_pair(velden.key.SPACE, "space")

-- 2. The creature: kind PLAYER is the game's one player. Its quad is 64 x 64 and stands on the
--    feet; it falls from its start onto the ground.
lf:create_creature("hero", PLAYER, "hero_idle", "hero_walk", "hero_jump", "hero_fall")
lf:creature_shape("hero", PLAYER, 32, 32)
lf:creature_translation("hero", PLAYER, HERO.x, HERO.y)

-- 3. Numbers that feel right. A held key pushes by `speed` a second and drag slows by `drag` a
--    second, so the walk settles near 2500 / 10 = 250 units a second. A jump of 750 against a
--    gravity of 1800 rises 750 * 750 / (2 * 1800) = 156 units in 0.4 seconds.
lf:creature_speed("hero", PLAYER, 2500)
lf:creature_drag("hero", PLAYER, 10, "")
lf:creature_gravity("hero", PLAYER, 1800)
lf:creature_jump("hero", PLAYER, 750, 2)

-- 4. Its trigger: a gate around the body that other gates notice (coins, enemies, the goal) and
--    that colliders push out of themselves. Every group may use it.
lf:create_trigger("hero_gate", GATE, "", "", 0, 0)
lf:create_shape("hero_box", velden.shape.BOX, 20, 30)
lf:trigger_shape("hero_gate", GATE, "hero_box")
lf:trigger_add_group_can_use_me("hero_gate", GATE, "everyone")
lf:creature_trigger("hero", PLAYER, "hero_gate", 0)
lf:add_player_trigger_to_manager()

-- 5. The keyboard controller, handed to the player.
lf:add_input_listener(velden.listener.LEFT, "left")
lf:add_input_listener(velden.listener.RIGHT, "right")
lf:add_input_listener(velden.listener.UP, "up")
lf:add_input_listener(velden.listener.ACTION, "space")
lf:upload_controller(velden.controller.PLAYER)

-- 6. Into the play layer, which updates and draws it.
lf:upload_player_to_layer(LAYER.play)
