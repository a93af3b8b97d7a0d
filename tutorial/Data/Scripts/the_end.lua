-- Two seconds after the goal: the game ends.
lf:set_game_state(velden.state.QUIT)
