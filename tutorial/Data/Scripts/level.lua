-- The level and its layers, from the back to the front. A layer's parallax multiplies the
-- camera position while it is drawn: (0, 0) stays on the screen, (1, 1) moves with the world.
LAYER = { sky = 0, hills = 1, play = 2, hud = 3 }
lf:create_level(0, 0, 0, 0)
lf:create_layer(0, 0, velden.blend.ALPHA)     -- the sky, fixed
lf:create_layer(0.5, 0.2, velden.blend.ALPHA) -- hills, at half the world's pace
lf:create_layer(1, 1, velden.blend.ALPHA)     -- the ground, the player, everything in play
lf:create_layer(1, 1, velden.blend.ALPHA)     -- the HUD in front

-- The sky: a picture 4 x 128 pixels stretched over the whole screen (1280 x 720 units).
picture("sky", "sky.png")
lf:create_sprite("sky", TEXTURED, "sky", 0, 0)
lf:sprite_shape("sky", TEXTURED, 640, 360) -- half the width and half the height
lf:gameobject_upload("sky", LAYER.sky, 0)
