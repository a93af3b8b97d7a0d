-- The wasp's gate let go of the player.
lf:damage(0, 1.5)
