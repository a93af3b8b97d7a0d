-- The keys the game uses, by name. The engine knows keys by their Windows virtual-key codes;
-- scripts bind keys to commands by these names (lf:add_input_listener), for the menu and the
-- player alike. A code keeps the first name it is given, and a name stands for the smallest
-- code that carries it.
KEY = {
    enter = velden.key.ENTER, -- 13, Return
    escape = velden.key.ESCAPE, -- 27
    space = velden.key.SPACE, -- 32
    left = velden.key.LEFT, -- 37
    up = velden.key.UP, -- 38
    right = velden.key.RIGHT, -- 39
    down = velden.key.DOWN, -- 40
}
for name, code in pairs(KEY) do
    lf:add_vk_pair(code, name)
end

-- A game controller presses the same keys: its d-pad and left stick are the arrows, the bottom
-- button space, the right button and Start Return, Back Escape (the engine's default map). The
-- left button jumps here too, so a thumb on the face buttons both jumps and uses.
lf:pad_map("west", KEY.up)
