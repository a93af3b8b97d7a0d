-- The lever's use trigger: its id is the lever's.
lf:use_lever(parameter)
