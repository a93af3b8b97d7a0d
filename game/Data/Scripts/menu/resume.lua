-- RESUME in the pause menu (or Escape while it is open): the menu goes and play goes on where
-- it stopped.
local lf = LuaFunctions()
for _, id in ipairs(PAUSE.ids) do
    lf:remove_gameobject_from_layer(LAYER.pause, id)
end
PAUSE = nil
for layer = 0, LAYER.pause - 1 do
    lf:set_layer_freeze(layer, false)
end
lf:timer_start()
lf:set_game_state(0)
report("resumed")
