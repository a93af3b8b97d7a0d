-- The camera follows the player. Its binder keeps the view inside the world: with the CLAMP
-- mode the camera goes as near the player as the world's edges let the view go.
lf:init_camera_binder(WORLD.left, WORLD.right, WORLD.bottom, WORLD.top)
lf:camera_binder_mode(velden.camera_binder.CLAMP)
