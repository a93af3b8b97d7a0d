-- The meadow's triggers. A trigger runs a script file when it fires, with the global
-- `parameter` set to the trigger's id:
--   * a gate trigger (kind 0) runs its enter script when it starts to overlap another gate that
--     it may use, and its leave script when the overlap ends;
--   * a use trigger (kind 1) runs its script when the player presses the use key over it;
--   * a timed trigger (kind 2) runs its script after a period, once or over and over.
-- A trigger is built by name like a sprite, then uploaded with an id. Gate and use triggers
-- belong to the level: the next create_level removes them. Timed triggers stay until they are
-- done, so their scripts check which level is current. Turn on lf:draw_triggers(true) to see
-- the gates (translucent gold here) and use triggers (green).

current_level = "meadow"

------------------------------------------------------------------------------------------------
-- Coins: a gate around each coin. A gate may use another gate when one of the groups it
-- belongs to is among the other's "can use me" groups; the coins belong to "coin", and the
-- hero's trigger lists "coin" among the groups that may use it. When it touches a coin, the
-- coin's gate runs coin_taken.lua with the coin's id, which is also the id of the coin's sprite
-- and glow.

coins_taken = { count = 0 }

function coin_gate(i, place)
    local name = "coin_gate_" .. i
    lf:create_trigger(name, 0, "Data/Scripts/triggers/coin_taken.lua", "", place.x, place.y + 4)
    lf:create_circle(name, 0, 0, 18) -- a shape is taken over by the trigger that uses it
    lf:trigger_shape(name, 0, name)
    lf:trigger_add_group_i_belong_to(name, 0, "coin")
    lf:trigger_set_color(name, 1, 0.8, 0, 0.4)
    lf:trigger_upload(name, place.id)
end
for i, place in ipairs(coin_places) do
    coin_gate(i, place)
end

------------------------------------------------------------------------------------------------
-- The signal lamp on the signpost: a timed trigger switches its colour every two seconds.

ID.lamp = 20
lamp = { x = -560, y = GROUND_Y + 78, step = 1, colours = {
    { 0.35, 1, 0.4 },  -- green
    { 1, 0.75, 0.2 },  -- amber
    { 1, 0.25, 0.2 },  -- red
} }

-- Replaces the lamp (a small disc and its light, both under the id ID.lamp) by one in the colour
-- of the current step.
function show_lamp()
    if lamp.shown then
        lf:remove_gameobject(ID.lamp) -- the first object with the id in each layer
    end
    lamp.shown = true
    local c = lamp.colours[lamp.step]
    local body = picture_sprite("sun", lamp.x, lamp.y, { 0, 0, 32, 32 }, 0.7)
    lf:sprite_color(body, c[1], c[2], c[3], 1)
    upload(body, LAYER.play, ID.lamp)
    local light = picture_sprite("glow", lamp.x, lamp.y, { 0, 0, 64, 64 }, 1.4)
    lf:sprite_color(light, c[1], c[2], c[3], 0.7)
    upload(light, LAYER.glow, ID.lamp)
end
show_lamp()

lf:create_trigger("lamp", 2, "Data/Scripts/triggers/lamp_switch.lua", "", 0, 0)
lf:timed_trigger_repeat("lamp", 2, true) -- every 2 seconds, for as long as it lives
lf:trigger_upload("lamp", ID.lamp)
lamp_timer = true -- lib/flow.lua removes it when the meadow goes
