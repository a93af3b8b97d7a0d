-- The pit below the level caught the hero: it dies (its death script brings it back).
LuaFunctions():player_state(0) -- 0: dead
report("the hero fell into the pit")
