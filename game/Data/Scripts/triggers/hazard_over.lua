-- The end of a blow from a hazard (see hazard_hit.lua).
local lf = LuaFunctions()
local HAZARD_RATE = 1.6
lf:damage(0, HAZARD_RATE)
HEALTH.rate = math.max(0, HEALTH.rate - HAZARD_RATE)
if HEALTH.rate == 0 then HEALTH.wait = HEALTH.delay end
