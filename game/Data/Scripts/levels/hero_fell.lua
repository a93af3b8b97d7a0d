-- The pit below the meadow caught the hero: it dies (its death script brings it back).
LuaFunctions():player_state(0) -- 0: dead
