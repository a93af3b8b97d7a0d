#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Map/TiledMap.h"

// The parts of reading a map that do not depend on its file format. Each throws MapError with
// the reason when what it is given cannot be used.
class MapParts {
  public:
    // Tiles, maps and pictures beyond these sizes are refused before anything is allocated.
    static constexpr int32_t max_tile_side = 4096;
    static constexpr int32_t max_map_side = 1 << 20;
    static constexpr int32_t max_chunks = 1 << 16;

    // Whether a Tiled file is JSON rather than XML: by its ending (.tmj, .tsj, .tj, .json
    // against .tmx, .tsx, .tx), or else by its first character.
    static bool is_json(const std::string& path);
    // source, relative to the folder of the file that names it.
    static std::string resolve(const std::string& file, const std::string& source);
    // transparent: "" or the colour ("#rrggbb" or "rrggbb") whose pixels become clear.
    static TiledPicture load_picture(const std::string& file, const std::string& source,
                                     const std::string& transparent = "");
    // Cuts an atlas tileset's only picture into its tiles, row by row from the top-left;
    // columns 0 means as many as fit.
    static void cut_atlas(TiledTileset& set, int32_t spacing, int32_t margin, int32_t columns);
    // A tile of an image-collection tileset cut from the tileset's last picture; negative sizes
    // mean the rest of the picture.
    static void cut_collection_tile(const TiledTileset& set, TiledTile& tile, int32_t x, int32_t y,
                                    int32_t width, int32_t height);

    struct Chunk {
        int32_t x = 0, y = 0, width = 0, height = 0;
        std::vector<uint32_t> cells;
    };
    // Puts the chunks of an infinite map's layer into one rectangle around them.
    static void join_chunks(const std::vector<Chunk>& chunks, TiledLayer& layer);
    // Checks a finite layer's size before its cells are read.
    static void check_layer_size(const TiledLayer& layer);
};
