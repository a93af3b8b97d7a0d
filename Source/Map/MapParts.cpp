#include "Map/MapParts.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "Map/LayerData.h"
#include "Map/MapError.h"
#include "Map/TiledColor.h"
#include "Render/PngLoader.h"

bool MapParts::is_json(const std::string& path) {
    const std::string ending = std::filesystem::path(path).extension().string();
    for (const char* json : {".tmj", ".tsj", ".tj", ".json"})
        if (ending == json)
            return true;
    for (const char* xml : {".tmx", ".tsx", ".tx", ".xml"})
        if (ending == xml)
            return false;
    std::ifstream in(path, std::ios::binary);
    char first = 0;
    while (in.get(first) && std::isspace(static_cast<unsigned char>(first)))
        ;
    return in && (first == '{' || first == '[');
}

std::string MapParts::resolve(const std::string& file, const std::string& source) {
    std::filesystem::path base = std::filesystem::path(file).parent_path();
    return (base / source).lexically_normal().string();
}

TiledPicture MapParts::load_picture(const std::string& file, const std::string& source,
                                    const std::string& transparent) {
    if (source.empty())
        throw MapError("a picture without a source");
    TiledPicture picture;
    picture.path = resolve(file, source);
    picture.image = PngLoader::load(picture.path);
    if (!picture.image)
        throw MapError("picture " + picture.path + " does not load");
    if (!transparent.empty()) {
        Color key;
        if (!TiledColor::parse(transparent, key) || key.a != 1.0f)
            throw MapError("picture " + picture.path + ": transparent colour \"" + transparent +
                           "\"");
        const uint8_t r = uint8_t(key.r * 255 + 0.5f), g = uint8_t(key.g * 255 + 0.5f),
                      b = uint8_t(key.b * 255 + 0.5f);
        std::vector<uint8_t>& p = picture.image->pixels;
        for (size_t i = 0; i + 3 < p.size(); i += 4)
            if (p[i] == r && p[i + 1] == g && p[i + 2] == b)
                p[i + 3] = 0;
    }
    return picture;
}

void MapParts::cut_atlas(TiledTileset& set, int32_t spacing, int32_t margin, int32_t columns) {
    const Image& picture = *set.pictures.at(0).image;
    const int32_t columns_fit =
        std::max(0, (picture.width - 2 * margin + spacing) / (set.tile_width + spacing));
    const int32_t rows_fit =
        std::max(0, (picture.height - 2 * margin + spacing) / (set.tile_height + spacing));
    if (columns <= 0)
        columns = columns_fit;
    if (set.tile_count == 0)
        set.tile_count = columns_fit * rows_fit;
    if (columns < 1 && set.tile_count > 0)
        throw MapError("tileset \"" + set.name + "\" has no columns");
    for (int32_t id = 0; id < set.tile_count; ++id) {
        TiledTile tile;
        tile.picture = 0;
        tile.x = margin + (id % columns) * (set.tile_width + spacing);
        tile.y = margin + (id / columns) * (set.tile_height + spacing);
        tile.width = set.tile_width;
        tile.height = set.tile_height;
        if (tile.x + tile.width > picture.width || tile.y + tile.height > picture.height)
            throw MapError("tileset \"" + set.name + "\": tile " + std::to_string(id) +
                           " lies outside its picture");
        set.tiles.emplace(static_cast<uint32_t>(id), tile);
    }
}

void MapParts::cut_collection_tile(const TiledTileset& set, TiledTile& tile, int32_t x, int32_t y,
                                   int32_t width, int32_t height) {
    const Image& picture = *set.pictures.back().image;
    tile.picture = static_cast<int32_t>(set.pictures.size()) - 1;
    if (width < 0)
        width = picture.width - x;
    if (height < 0)
        height = picture.height - y;
    if (x < 0 || y < 0 || width < 1 || height < 1 || x + width > picture.width ||
        y + height > picture.height)
        throw MapError("tileset \"" + set.name + "\": a tile lies outside its picture");
    tile.x = x;
    tile.y = y;
    tile.width = width;
    tile.height = height;
}

void MapParts::join_chunks(const std::vector<Chunk>& chunks, TiledLayer& layer) {
    if (chunks.empty())
        return;
    int64_t x0 = chunks[0].x, y0 = chunks[0].y, x1 = x0, y1 = y0;
    for (const Chunk& c : chunks) {
        x0 = std::min<int64_t>(x0, c.x);
        y0 = std::min<int64_t>(y0, c.y);
        x1 = std::max<int64_t>(x1, int64_t(c.x) + c.width);
        y1 = std::max<int64_t>(y1, int64_t(c.y) + c.height);
    }
    if ((x1 - x0) * (y1 - y0) > LayerData::max_cells)
        throw MapError("layer \"" + layer.name + "\": its chunks span too large an area");
    layer.origin_x = static_cast<int32_t>(x0);
    layer.origin_y = static_cast<int32_t>(y0);
    layer.width = static_cast<int32_t>(x1 - x0);
    layer.height = static_cast<int32_t>(y1 - y0);
    layer.cells.assign(size_t(layer.width) * size_t(layer.height), 0);
    for (const Chunk& c : chunks)
        for (int32_t row = 0; row < c.height; ++row)
            for (int32_t col = 0; col < c.width; ++col)
                layer.cells[size_t(c.y - y0 + row) * size_t(layer.width) + size_t(c.x - x0 + col)] =
                    c.cells[size_t(row) * size_t(c.width) + size_t(col)];
}

void MapParts::check_layer_size(const TiledLayer& layer) {
    if (int64_t(layer.width) * layer.height > LayerData::max_cells)
        throw MapError("layer \"" + layer.name + "\": too large");
}
