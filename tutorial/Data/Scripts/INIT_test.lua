-- The start-up script: the engine runs it once when the game starts. Each step of the tutorial
-- adds a line at its end.
lf = LuaFunctions() -- one instance for every script: globals are shared

-- The engine makes its two letter fonts, for dialogs, from these pictures after this script.
for _, name in ipairs({ "font", "small_font" }) do
    lf:init_texture(name, "Data/Images/" .. name .. ".png", 0, velden.wrap.CLAMP,
        velden.wrap.CLAMP, velden.environment.MODULATE)
    lf:load_resource(velden.resource.TEXTURE, name)
end

-- Functions the steps want called once a frame; frame.lua calls them.
every_frame = {}
lf:set_frame_script("Data/Scripts/frame.lua")

lf:do_file("Data/Scripts/lib.lua")    -- step 1
lf:do_file("Data/Scripts/level.lua")  -- step 1
lf:do_file("Data/Scripts/world.lua")  -- step 2
lf:do_file("Data/Scripts/ground.lua") -- step 3
lf:do_file("Data/Scripts/player.lua") -- step 4
lf:do_file("Data/Scripts/camera.lua") -- step 5
lf:do_file("Data/Scripts/coins.lua")  -- step 6
lf:do_file("Data/Scripts/enemy.lua")  -- step 7
lf:do_file("Data/Scripts/door.lua")   -- step 8
lf:do_file("Data/Scripts/sign.lua")   -- step 9
lf:do_file("Data/Scripts/sounds.lua") -- step 10
lf:do_file("Data/Scripts/goal.lua")   -- step 11
lf:do_file("Data/Scripts/ledges.lua") -- step 12
