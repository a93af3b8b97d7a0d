-- Run by the title menu's START button: the menu goes, the HUD comes back and play begins.
local lf = LuaFunctions()
-- Each call removes the first object with that id, so once per uploaded object. The button
-- running this script is among them; the engine keeps it alive until its press is over.
for _, id in ipairs(TITLE_MENU.ids) do
    lf:remove_gameobject_from_layer(TITLE_MENU.layer, id)
end
lf:set_layer_visibility(LAYER.hud, true)
lf:set_layer_freeze(LAYER.hud, false)
lf:set_game_state(0) -- 0: running
current_level = "meadow"
report("play")
