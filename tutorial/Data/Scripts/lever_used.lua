-- Space over the lever: `parameter` is the lever's id.
lf:use_lever(parameter)
