-- The world is two and a half screens wide, from x = 0 to x = 3200, and one screen high.
WORLD = { left = 0, right = 3200, bottom = -360, top = 360 }

-- Hills far away: one sprite repeating the 512 x 128 picture, drawn at two units a pixel. The
-- hills' layer moves at half the world's pace, so a strip from -400 to 2000 covers every view.
picture("hills", "hills.png", true, false)
lf:create_sprite("hills", TEXTURED, "hills", 800, -112)
lf:sprite_shape("hills", TEXTURED, 1200, 128)
lf:textured_sprite_tex_coords("hills", TEXTURED, 0, 0, 2400 / 1024, 1) -- a copy every 1024
lf:gameobject_upload("hills", LAYER.hills, 0)

-- Invisible walls just outside both ends keep the player in the world (colliders push the
-- player out of themselves).
lf:create_shape("wall", velden.shape.BOX, 20, 720)
lf:create_collider(1, "wall", WORLD.left - 20, 0)
lf:create_collider(1, "wall", WORLD.right + 20, 0)

-- The camera starts at (0, 0), which would show the world's left edge in the middle of the
-- screen: put the view over the left end of the world instead.
lf:camera_set_position(WORLD.left + 640, 0)
