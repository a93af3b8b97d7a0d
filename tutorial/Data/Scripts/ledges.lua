-- Two stone ledges over the start with three more coins, drawn in the Tiled map editor and
-- saved as Data/Maps/ledges.tmx. One call puts the map's top-left corner at (0, 64); its tile
-- layer and its object layer become two more layers of the level, in front of the others.
if not lf:map_load("Data/Maps/ledges.tmx", 0, 64) then
    print("the ledges' map did not load") -- VELDEN_SCRIPT_ERRORS=1 says why
end
