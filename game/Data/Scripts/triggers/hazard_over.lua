-- The end of a blow from a hazard (see hazard_hit.lua).
local lf = LuaFunctions()
local HAZARD_RATE = 1.6
lf:damage(0, HAZARD_RATE)
