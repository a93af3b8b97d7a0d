-- An enemy's gate let go of the hero.
local lf = LuaFunctions()
lf:damage(0, STING_RATE)
HEALTH.rate = math.max(0, HEALTH.rate - STING_RATE)
if HEALTH.rate == 0 then HEALTH.wait = HEALTH.delay end
