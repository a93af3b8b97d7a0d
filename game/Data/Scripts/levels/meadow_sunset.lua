-- Run by the sign's dialog when the player asks for evening colours: the sky, the light and
-- the far layers turn warm.
lf:layer_color(LAYER.sky, 1, 0.55, 0.45, 1)
lf:layer_color(LAYER.clouds, 1, 0.7, 0.6, 1)
lf:layer_color(LAYER.mountains, 0.9, 0.6, 0.6, 1)
lf:layer_color(LAYER.sunlight, 1, 0.6, 0.3, 1)
