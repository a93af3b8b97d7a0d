-- The wasp's gate touched the player: 1.5 hit points a second while they touch.
lf:damage(1.5, 0)
