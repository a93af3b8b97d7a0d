#include "Map/TmxReader.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "Map/LayerData.h"
#include "Map/TiledColor.h"
#include "Render/PngLoader.h"

namespace {

// Tiles, maps and pictures beyond these sizes are refused before anything is allocated.
constexpr int32_t max_tile_side = 4096;
constexpr int32_t max_map_side = 1 << 20;
constexpr int32_t max_chunks = 1 << 16;

struct MapError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void fail(const std::string& why) {
    throw MapError(why);
}

std::string resolve(const std::string& file, const std::string& source) {
    std::filesystem::path base = std::filesystem::path(file).parent_path();
    return (base / source).lexically_normal().string();
}

int32_t checked_int(const pugi::xml_node& node, const char* name, int32_t low, int32_t high,
                    int32_t fallback) {
    pugi::xml_attribute a = node.attribute(name);
    if (!a)
        return fallback;
    const double v = a.as_double(NAN);
    if (!std::isfinite(v) || v < low || v > high || v != std::floor(v))
        fail(std::string("attribute ") + name + " of <" + node.name() + "> is \"" + a.value() +
             "\"");
    return static_cast<int32_t>(v);
}

float checked_float(const pugi::xml_node& node, const char* name, float fallback) {
    pugi::xml_attribute a = node.attribute(name);
    if (!a)
        return fallback;
    const double v = a.as_double(NAN);
    if (!std::isfinite(v) || std::fabs(v) > 1e7)
        fail(std::string("attribute ") + name + " of <" + node.name() + "> is \"" + a.value() +
             "\"");
    return static_cast<float>(v);
}

uint32_t checked_gid(const pugi::xml_node& node, const char* name) {
    pugi::xml_attribute a = node.attribute(name);
    if (!a)
        return 0;
    const double v = a.as_double(NAN);
    if (!std::isfinite(v) || v < 0 || v > 4294967295.0 || v != std::floor(v))
        fail(std::string("attribute ") + name + " of <" + node.name() + "> is \"" + a.value() +
             "\"");
    return static_cast<uint32_t>(v);
}

}  // namespace

std::unique_ptr<TiledMap> TmxReader::read(const std::string& path, std::string& error) {
    TmxReader reader(path);
    auto map = std::make_unique<TiledMap>();
    try {
        pugi::xml_document doc;
        pugi::xml_parse_result parsed = doc.load_file(path.c_str());
        if (!parsed)
            fail(parsed.status == pugi::status_file_not_found
                     ? std::string("no such file")
                     : std::string("damaged XML (") + parsed.description() + ")");
        pugi::xml_node root = doc.child("map");
        if (!root)
            fail("not a Tiled map (no <map>)");
        reader.read_map(root, *map);
    } catch (const std::exception& e) {
        error = path + ": " + e.what();
        return nullptr;
    }
    return map;
}

void TmxReader::read_map(const pugi::xml_node& node, TiledMap& map) {
    const std::string orientation = node.attribute("orientation").as_string("orthogonal");
    if (orientation != "orthogonal")
        fail("unsupported orientation \"" + orientation + "\"");
    map.infinite = node.attribute("infinite").as_int(0) != 0;
    map.width = checked_int(node, "width", 0, max_map_side, 0);
    map.height = checked_int(node, "height", 0, max_map_side, 0);
    map.tile_width = checked_int(node, "tilewidth", 1, max_tile_side, -1);
    map.tile_height = checked_int(node, "tileheight", 1, max_tile_side, -1);
    if (map.tile_width < 1 || map.tile_height < 1)
        fail("the map has no tile size");
    map.parallax_origin = {checked_float(node, "parallaxoriginx", 0),
                           checked_float(node, "parallaxoriginy", 0)};
    read_properties(node, map.properties);
    for (pugi::xml_node child : node.children("tileset")) {
        TiledTileset set;
        set.first_gid = checked_gid(child, "firstgid");
        if (set.first_gid < 1 || set.first_gid > 0x0fffffffu)
            fail("a tileset has no valid firstgid");
        if (pugi::xml_attribute source = child.attribute("source")) {
            const std::string file = resolve(path_, source.value());
            pugi::xml_document doc;
            pugi::xml_parse_result parsed = doc.load_file(file.c_str());
            if (!parsed)
                fail("tileset " + file + ": " +
                     (parsed.status == pugi::status_file_not_found
                          ? std::string("no such file")
                          : std::string("damaged XML (") + parsed.description() + ")"));
            pugi::xml_node root = doc.child("tileset");
            if (!root)
                fail("tileset " + file + ": no <tileset>");
            read_tileset(root, file, set);
        } else {
            read_tileset(child, path_, set);
        }
        map.tilesets.push_back(std::move(set));
    }
    read_layers(node, TiledLayer{}, map);
}

void TmxReader::read_tileset(const pugi::xml_node& node, const std::string& file,
                             TiledTileset& set) {
    set.name = node.attribute("name").as_string();
    set.tile_width = checked_int(node, "tilewidth", 1, max_tile_side, -1);
    set.tile_height = checked_int(node, "tileheight", 1, max_tile_side, -1);
    if (set.tile_width < 1 || set.tile_height < 1)
        fail("tileset \"" + set.name + "\" has no tile size");
    const int32_t spacing = checked_int(node, "spacing", 0, max_tile_side, 0);
    const int32_t margin = checked_int(node, "margin", 0, max_tile_side, 0);
    set.tile_count = checked_int(node, "tilecount", 0, LayerData::max_cells, 0);
    if (pugi::xml_node offset = node.child("tileoffset"))
        set.tile_offset = {checked_float(offset, "x", 0), checked_float(offset, "y", 0)};
    if (pugi::xml_node image = node.child("image")) {
        // An atlas: tiles in rows, left to right, from the top-left corner.
        set.pictures.push_back(load_picture(file, image.attribute("source").as_string()));
        const Image& picture = *set.pictures.back().image;
        const int32_t columns_fit =
            (picture.width - 2 * margin + spacing) / (set.tile_width + spacing);
        const int32_t rows_fit =
            (picture.height - 2 * margin + spacing) / (set.tile_height + spacing);
        const int32_t columns = checked_int(node, "columns", 0, max_tile_side, columns_fit);
        if (columns < 1 && set.tile_count > 0)
            fail("tileset \"" + set.name + "\" has no columns");
        if (set.tile_count == 0)
            set.tile_count = std::max(columns_fit, 0) * std::max(rows_fit, 0);
        for (int32_t id = 0; id < set.tile_count; ++id) {
            TiledTile tile;
            tile.picture = 0;
            tile.x = margin + (id % columns) * (set.tile_width + spacing);
            tile.y = margin + (id / columns) * (set.tile_height + spacing);
            tile.width = set.tile_width;
            tile.height = set.tile_height;
            if (tile.x + tile.width > picture.width || tile.y + tile.height > picture.height)
                fail("tileset \"" + set.name + "\": tile " + std::to_string(id) +
                     " lies outside its picture");
            set.tiles.emplace(static_cast<uint32_t>(id), tile);
        }
    }
    for (pugi::xml_node child : node.children("tile")) {
        const uint32_t id = checked_gid(child, "id");
        if (id > 0x0fffffffu)
            fail("tileset \"" + set.name + "\": tile id out of range");
        TiledTile& tile = set.tiles[id];
        if (pugi::xml_node image = child.child("image")) {
            // An image-collection tile: its own picture, or a part of it.
            set.pictures.push_back(load_picture(file, image.attribute("source").as_string()));
            const Image& picture = *set.pictures.back().image;
            tile.picture = static_cast<int32_t>(set.pictures.size()) - 1;
            tile.x = checked_int(child, "x", 0, picture.width, 0);
            tile.y = checked_int(child, "y", 0, picture.height, 0);
            tile.width =
                checked_int(child, "width", 1, picture.width - tile.x, picture.width - tile.x);
            tile.height =
                checked_int(child, "height", 1, picture.height - tile.y, picture.height - tile.y);
        }
        if (tile.picture < 0)
            fail("tileset \"" + set.name + "\": tile " + std::to_string(id) + " has no picture");
        tile.type = child.attribute("class").as_string(child.attribute("type").as_string());
        read_properties(child, tile.properties);
    }
}

void TmxReader::read_common(const pugi::xml_node& node, const TiledLayer& group,
                            TiledLayer& layer) {
    layer.name = node.attribute("name").as_string();
    layer.id = checked_int(node, "id", 0, 0x7fffffff, 0);
    layer.visible = group.visible && node.attribute("visible").as_int(1) != 0;
    layer.opacity = group.opacity * std::clamp(checked_float(node, "opacity", 1), 0.0f, 1.0f);
    Color tint{1, 1, 1, 1};
    if (pugi::xml_attribute a = node.attribute("tintcolor"))
        if (!TiledColor::parse(a.value(), tint))
            fail("layer \"" + layer.name + "\": tint colour \"" + a.value() + "\"");
    layer.tint = {group.tint.r * tint.r, group.tint.g * tint.g, group.tint.b * tint.b,
                  group.tint.a * tint.a};
    layer.offset = group.offset +
                   Vector2{checked_float(node, "offsetx", 0), checked_float(node, "offsety", 0)};
    layer.parallax = {group.parallax.x * checked_float(node, "parallaxx", 1),
                      group.parallax.y * checked_float(node, "parallaxy", 1)};
    read_properties(node, layer.properties);
}

void TmxReader::read_layers(const pugi::xml_node& parent, const TiledLayer& group, TiledMap& map) {
    for (pugi::xml_node node : parent.children()) {
        const std::string kind = node.name();
        if (kind != "layer" && kind != "imagelayer" && kind != "objectgroup" && kind != "group")
            continue;
        TiledLayer layer;
        read_common(node, group, layer);
        if (kind == "group") {
            read_layers(node, layer, map);
            continue;
        }
        if (kind == "layer") {
            layer.kind = TiledLayer::Kind::tiles;
            read_tile_layer(node, map, layer);
        } else if (kind == "imagelayer") {
            layer.kind = TiledLayer::Kind::image;
            pugi::xml_node image = node.child("image");
            if (image && image.attribute("source").as_string()[0])
                layer.picture = load_picture(path_, image.attribute("source").as_string());
        } else {
            layer.kind = TiledLayer::Kind::objects;
            read_objects(node, layer);
        }
        map.layers.push_back(std::move(layer));
    }
}

void TmxReader::read_tile_layer(const pugi::xml_node& node, const TiledMap& map,
                                TiledLayer& layer) {
    pugi::xml_node data = node.child("data");
    const std::string encoding = data.attribute("encoding").as_string();
    const std::string compression = data.attribute("compression").as_string();
    const std::string where = "layer \"" + layer.name + "\": ";
    auto decode = [&](const pugi::xml_node& holder, int64_t count, std::vector<uint32_t>& cells) {
        if (encoding.empty()) {
            for (pugi::xml_node tile : holder.children("tile"))
                cells.push_back(checked_gid(tile, "gid"));
            if (static_cast<int64_t>(cells.size()) != count)
                fail(where + "holds " + std::to_string(cells.size()) + " tiles instead of " +
                     std::to_string(count));
            return;
        }
        std::string error =
            LayerData::decode(encoding, compression, holder.child_value(), count, cells);
        if (!error.empty())
            fail(where + error);
    };
    if (!map.infinite) {
        layer.width = checked_int(node, "width", 0, max_map_side, map.width);
        layer.height = checked_int(node, "height", 0, max_map_side, map.height);
        const int64_t count = int64_t(layer.width) * layer.height;
        if (count > LayerData::max_cells)
            fail(where + "too large");
        if (!data)
            fail(where + "no <data>");
        decode(data, count, layer.cells);
        return;
    }
    // Chunks: find the rectangle around them, then copy each into it.
    struct Chunk {
        int32_t x, y, width, height;
        std::vector<uint32_t> cells;
    };
    std::vector<Chunk> chunks;
    for (pugi::xml_node child : data.children("chunk")) {
        if (chunks.size() >= max_chunks)
            fail(where + "too many chunks");
        Chunk c{checked_int(child, "x", -max_map_side, max_map_side, 0),
                checked_int(child, "y", -max_map_side, max_map_side, 0),
                checked_int(child, "width", 0, max_tile_side, 0),
                checked_int(child, "height", 0, max_tile_side, 0),
                {}};
        decode(child, int64_t(c.width) * c.height, c.cells);
        chunks.push_back(std::move(c));
    }
    if (chunks.empty())
        return;
    int32_t x0 = chunks[0].x, y0 = chunks[0].y, x1 = x0, y1 = y0;
    for (const Chunk& c : chunks) {
        x0 = std::min(x0, c.x);
        y0 = std::min(y0, c.y);
        x1 = std::max(x1, c.x + c.width);
        y1 = std::max(y1, c.y + c.height);
    }
    if (int64_t(x1 - x0) * (y1 - y0) > LayerData::max_cells)
        fail(where + "its chunks span too large an area");
    layer.origin_x = x0;
    layer.origin_y = y0;
    layer.width = x1 - x0;
    layer.height = y1 - y0;
    layer.cells.assign(size_t(layer.width) * layer.height, 0);
    for (const Chunk& c : chunks)
        for (int32_t row = 0; row < c.height; ++row)
            for (int32_t col = 0; col < c.width; ++col)
                layer.cells[size_t(c.y - y0 + row) * layer.width + (c.x - x0 + col)] =
                    c.cells[size_t(row) * c.width + col];
}

void TmxReader::read_objects(const pugi::xml_node& node, TiledLayer& layer) {
    for (pugi::xml_node child : node.children("object")) {
        if (child.attribute("template"))
            fail("object templates are not supported yet");
        TiledObject object;
        object.id = checked_int(child, "id", 0, 0x7fffffff, 0);
        object.name = child.attribute("name").as_string();
        object.type = child.attribute("class").as_string(child.attribute("type").as_string());
        object.x = checked_float(child, "x", 0);
        object.y = checked_float(child, "y", 0);
        object.width = checked_float(child, "width", 0);
        object.height = checked_float(child, "height", 0);
        object.rotation = checked_float(child, "rotation", 0);
        object.visible = child.attribute("visible").as_int(1) != 0;
        object.gid = checked_gid(child, "gid");
        if (object.gid != 0)
            object.kind = TiledObject::Kind::tile;
        else if (child.child("ellipse"))
            object.kind = TiledObject::Kind::ellipse;
        else if (child.child("point"))
            object.kind = TiledObject::Kind::point;
        else if (child.child("text"))
            object.kind = TiledObject::Kind::text;
        for (const char* kind : {"polygon", "polyline"}) {
            pugi::xml_node shape = child.child(kind);
            if (!shape)
                continue;
            object.kind = kind[4] == 'g' ? TiledObject::Kind::polygon : TiledObject::Kind::polyline;
            std::string text = shape.attribute("points").as_string();
            size_t i = 0;
            while (i < text.size()) {
                char* end = nullptr;
                const float x = std::strtof(text.c_str() + i, &end);
                if (end == text.c_str() + i || *end != ',')
                    fail("object " + std::to_string(object.id) + ": damaged points");
                const char* ys = end + 1;
                const float y = std::strtof(ys, &end);
                if (end == ys || !std::isfinite(x) || !std::isfinite(y))
                    fail("object " + std::to_string(object.id) + ": damaged points");
                object.points.push_back({x, y});
                i = static_cast<size_t>(end - text.c_str());
                while (i < text.size() && text[i] == ' ')
                    ++i;
            }
            if (object.points.size() < 2)
                fail("object " + std::to_string(object.id) + ": too few points");
        }
        read_properties(child, object.properties);
        layer.objects.push_back(std::move(object));
    }
}

void TmxReader::read_properties(const pugi::xml_node& node, TiledProperties& properties) {
    for (pugi::xml_node p : node.child("properties").children("property")) {
        // Multi-line strings are kept as the element's text.
        pugi::xml_attribute value = p.attribute("value");
        properties[p.attribute("name").as_string()] = value ? value.value() : p.child_value();
    }
}

TiledPicture TmxReader::load_picture(const std::string& file, const std::string& source) {
    if (source.empty())
        fail("a picture without a source");
    TiledPicture picture;
    picture.path = resolve(file, source);
    picture.image = PngLoader::load(picture.path);
    if (!picture.image)
        fail("picture " + picture.path + " does not load");
    return picture;
}
