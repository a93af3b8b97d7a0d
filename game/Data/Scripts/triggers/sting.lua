-- An enemy's gate touched the hero: `parameter` is the enemy's id. Damage adds up while
-- several enemies sting at once.
local lf = LuaFunctions()
lf:damage(STING_RATE, 0)
