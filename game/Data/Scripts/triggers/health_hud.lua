-- Every 0.05 seconds: moves the HUD's health bar the way the hero's health goes.
local dt = 0.05
if current_level ~= "meadow" then return end
if lf:get_game_state() ~= 0 then return end
if HEALTH.rate > 0 then
    HEALTH.hp = HEALTH.hp - HEALTH.rate * dt
elseif HEALTH.wait > 0 then
    HEALTH.wait = HEALTH.wait - dt
elseif HEALTH.hp < HEALTH.max then
    HEALTH.hp = math.min(HEALTH.max, HEALTH.hp + HEALTH.regen_per_second * dt)
end
show_health()
