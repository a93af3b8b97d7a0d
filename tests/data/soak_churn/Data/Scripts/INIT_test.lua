-- A game that makes the same objects again under the same names in every frame, never placing
-- them: the soak checks that what the names no longer reach is freed.
local lf = LuaFunctions()
lf:create_level(0, 0, 0, 0)
lf:create_layer(1, 1, 0)
lf:create_trigger("every_frame", 2, "Data/Scripts/churn.lua", "", 0, 0)
lf:timed_trigger_repeat("every_frame", 0.001, true)
lf:trigger_upload("every_frame", 1)
