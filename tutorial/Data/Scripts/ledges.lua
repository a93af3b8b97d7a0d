-- Two stone ledges over the start with three more coins, drawn in the Tiled map editor and
-- saved as Data/Maps/ledges.tmx. The map's pixels are those of the pictures; the game draws
-- its pictures at two units a pixel, so the map is loaded at scale 2, its top-left corner at
-- (0, 64). Its tile layer and its object layer become two more layers of the level, in front
-- of the others.
if not lf:map_load_scaled("Data/Maps/ledges.tmx", 0, 64, 2) then
    print("the ledges' map did not load") -- VELDEN_SCRIPT_ERRORS=1 says why
end
