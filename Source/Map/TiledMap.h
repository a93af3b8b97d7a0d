#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Render/Color.h"
#include "Render/Image.h"
#include "Render/Vector2.h"

// A Tiled map as read from its file, in Tiled's own terms: pixels, y down, the map's top-left
// corner at (0, 0). Nothing here touches the engine; MapLoader turns it into level contents.

// Custom properties by name, every value kept as its text ("true", "12.5", "#ff00ff00", ...).
using TiledProperties = std::map<std::string, std::string>;

// Tile id flags in the high bits of a global tile id.
struct TiledGid {
    static constexpr uint32_t flip_horizontal = 0x80000000u;
    static constexpr uint32_t flip_vertical = 0x40000000u;
    static constexpr uint32_t flip_diagonal = 0x20000000u;
    static constexpr uint32_t rotate_hexagonal = 0x10000000u;
    static constexpr uint32_t flags = 0xf0000000u;
};

// One picture a tile is cut from (a tileset's atlas, or a tile's own picture in an
// image-collection tileset).
struct TiledPicture {
    std::string path;  // resolved against the file that named it
    std::unique_ptr<Image> image;
};

struct TiledTile {
    // A frame of the tile's animation: another tile of the same set, shown so many
    // milliseconds.
    struct Frame {
        uint32_t tile = 0;
        int32_t duration = 0;
    };
    int32_t picture = -1;  // index into the tileset's pictures
    // The tile's rectangle in that picture, pixels from its top-left corner.
    int32_t x = 0, y = 0, width = 0, height = 0;
    std::string type;
    TiledProperties properties;
    std::vector<Frame> animation;
};

struct TiledTileset {
    uint32_t first_gid = 1;
    std::string name;
    std::string source;  // the tileset's own file, or "" when the map holds it
    int32_t tile_width = 0, tile_height = 0;
    int32_t tile_count = 0;
    Vector2 tile_offset;  // Tiled pixels, y down
    std::vector<TiledPicture> pictures;
    // By local id; an id absent here is not a tile of the set.
    std::map<uint32_t, TiledTile> tiles;
};

struct TiledObject {
    enum class Kind { rectangle, ellipse, point, polygon, polyline, tile, text };
    int32_t id = 0;
    std::string name;
    std::string type;  // Tiled's "class" (or "type" in older maps)
    Kind kind = Kind::rectangle;
    float x = 0, y = 0, width = 0, height = 0;
    float rotation = 0;  // degrees, clockwise on the screen
    bool visible = true;
    uint32_t gid = 0;             // with flags, for tile objects
    std::vector<Vector2> points;  // polygon and polyline, relative to (x, y)
    TiledProperties properties;
};

struct TiledLayer {
    enum class Kind { tiles, image, objects };
    Kind kind = Kind::tiles;
    int32_t id = 0;
    std::string name;
    bool visible = true;
    float opacity = 1;
    Color tint{1, 1, 1, 1};
    Vector2 offset;  // Tiled pixels, y down
    Vector2 parallax{1, 1};
    TiledProperties properties;
    // Tile layers: the cells of the rectangle (origin_x, origin_y, width, height) in tiles, row
    // by row from the top; 0 is an empty cell. Infinite maps put their chunks into one
    // rectangle around them.
    int32_t origin_x = 0, origin_y = 0, width = 0, height = 0;
    std::vector<uint32_t> cells;
    // Image layers: the picture, repeated without end along the axes Tiled's "repeat X" and
    // "repeat Y" say.
    TiledPicture picture;
    bool repeat_x = false, repeat_y = false;
    // Object layers.
    std::vector<TiledObject> objects;
};

struct TiledMap {
    int32_t width = 0, height = 0;  // tiles (of finite maps)
    int32_t tile_width = 0, tile_height = 0;
    bool infinite = false;
    Vector2 parallax_origin;
    std::optional<Color> background;
    TiledProperties properties;
    std::vector<TiledTileset> tilesets;
    std::vector<TiledLayer> layers;  // in map order, groups flattened

    // The tileset of a global id (flags cleared) and its tile, or nulls when no tileset has it.
    const TiledTileset* tileset_of(uint32_t gid) const;
    const TiledTile* tile_of(uint32_t gid) const;
};
