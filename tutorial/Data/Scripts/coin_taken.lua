-- A coin's gate touched the player: `parameter` is the coin's id.
lf:add_points(10)
lf:remove_gameobject(parameter) -- the coin's sprite
lf:trigger_remove(parameter)    -- and its gate, so the coin counts once
