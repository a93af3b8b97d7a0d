-- An enemy's gate let go of the hero.
local lf = LuaFunctions()
lf:damage(0, STING_RATE)
