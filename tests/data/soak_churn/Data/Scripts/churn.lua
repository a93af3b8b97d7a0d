-- Run in every frame: 200 sprites, 20 shapes and 20 triggers, each replacing the last frame's.
local lf = LuaFunctions()
for i = 1, 200 do
    lf:create_sprite("sprite" .. i, 0, "", i, 0)
end
for i = 1, 20 do
    lf:create_shape("shape" .. i, 0, 4, 4)
    lf:create_trigger("trigger" .. i, 0, "", "", i, 0)
end
