#include "Map/JsonMapReader.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "Map/LayerData.h"
#include "Map/MapError.h"
#include "Map/MapParts.h"
#include "Map/TiledColor.h"
#include "Map/TmxReader.h"

using nlohmann::json;

namespace {

constexpr int32_t max_tile_side = MapParts::max_tile_side;
constexpr int32_t max_map_side = MapParts::max_map_side;

[[noreturn]] void fail(const std::string& why) {
    throw MapError(why);
}

json parse_file(const std::string& path, const std::string& what) {
    std::error_code ec;
    std::ifstream in(path, std::ios::binary);
    if (!std::filesystem::is_regular_file(path, ec) || !in)
        fail(what + "no such file");
    json document = json::parse(in, nullptr, false);
    if (document.is_discarded())
        fail(what + "damaged JSON");
    if (!document.is_object())
        fail(what + "not a Tiled file");
    return document;
}

std::string text(const json& node, const char* name, const std::string& fallback = "") {
    auto it = node.find(name);
    if (it == node.end() || it->is_null())
        return fallback;
    if (!it->is_string())
        fail(std::string(name) + " is not text");
    return it->get<std::string>();
}

double number(const json& node, const char* name, double fallback) {
    auto it = node.find(name);
    if (it == node.end())
        return fallback;
    if (!it->is_number())
        fail(std::string(name) + " is not a number");
    const double v = it->get<double>();
    if (!std::isfinite(v))
        fail(std::string(name) + " is not a number");
    return v;
}

int32_t whole(const json& node, const char* name, int32_t low, int32_t high, int32_t fallback) {
    if (!node.contains(name))
        return fallback;
    const double v = number(node, name, fallback);
    if (v < low || v > high || v != std::floor(v))
        fail(std::string(name) + " is " + std::to_string(v));
    return static_cast<int32_t>(v);
}

float real(const json& node, const char* name, float fallback) {
    const double v = number(node, name, fallback);
    if (std::fabs(v) > 1e7)
        fail(std::string(name) + " is out of range");
    return static_cast<float>(v);
}

uint32_t gid_of(const json& value) {
    if (!value.is_number())
        fail("a tile id is not a number");
    const double v = value.get<double>();
    if (!std::isfinite(v) || v < 0 || v > 4294967295.0 || v != std::floor(v))
        fail("a tile id is out of range");
    return static_cast<uint32_t>(v);
}

bool flag(const json& node, const char* name, bool fallback) {
    auto it = node.find(name);
    if (it == node.end())
        return fallback;
    if (!it->is_boolean())
        fail(std::string(name) + " is not true or false");
    return it->get<bool>();
}

const json& list(const json& node, const char* name) {
    static const json empty = json::array();
    auto it = node.find(name);
    if (it == node.end())
        return empty;
    if (!it->is_array())
        fail(std::string(name) + " is not a list");
    return *it;
}

}  // namespace

std::unique_ptr<TiledMap> JsonMapReader::read(const std::string& path, std::string& error) {
    JsonMapReader reader(path);
    auto map = std::make_unique<TiledMap>();
    try {
        json document = parse_file(path, "");
        reader.read_map(document, *map);
    } catch (const std::exception& e) {
        error = path + ": " + e.what();
        return nullptr;
    }
    return map;
}

void JsonMapReader::read_map(const json& node, TiledMap& map) {
    if (text(node, "type", "map") != "map")
        fail("not a Tiled map");
    const std::string orientation = text(node, "orientation", "orthogonal");
    if (orientation != "orthogonal")
        fail("unsupported orientation \"" + orientation + "\"");
    map.infinite = flag(node, "infinite", false);
    map.width = whole(node, "width", 0, max_map_side, 0);
    map.height = whole(node, "height", 0, max_map_side, 0);
    if (!node.contains("tilewidth") || !node.contains("tileheight"))
        fail("the map has no tile size");
    map.tile_width = whole(node, "tilewidth", 1, max_tile_side, 1);
    map.tile_height = whole(node, "tileheight", 1, max_tile_side, 1);
    if (const std::string colour = text(node, "backgroundcolor"); !colour.empty()) {
        Color background;
        if (!TiledColor::parse(colour, background))
            fail("background colour \"" + colour + "\"");
        map.background = background;
    }
    map.parallax_origin = {real(node, "parallaxoriginx", 0), real(node, "parallaxoriginy", 0)};
    read_properties(node, map.properties);
    for (const json& entry : list(node, "tilesets")) {
        if (!entry.is_object())
            fail("a tileset is not an object");
        TiledTileset set;
        const double first = number(entry, "firstgid", 0);
        if (first < 1 || first > 0x0fffffff || first != std::floor(first))
            fail("a tileset has no valid firstgid");
        set.first_gid = static_cast<uint32_t>(first);
        const std::string source = text(entry, "source");
        if (!source.empty()) {
            const std::string file = MapParts::resolve(path_, source);
            if (MapParts::is_json(file))
                read_tileset_file(file, set);
            else
                TmxReader::read_tileset_file(file, set);
        } else {
            read_tileset(entry, path_, set);
        }
        map.tilesets.push_back(std::move(set));
    }
    read_layers(list(node, "layers"), TiledLayer{}, map);
}

void JsonMapReader::read_tileset_file(const std::string& file, TiledTileset& set) {
    read_tileset(parse_file(file, "tileset " + file + ": "), file, set);
    set.source = file;
}

void JsonMapReader::read_tileset(const json& node, const std::string& file, TiledTileset& set) {
    set.name = text(node, "name");
    if (!node.contains("tilewidth") || !node.contains("tileheight"))
        fail("tileset \"" + set.name + "\" has no tile size");
    set.tile_width = whole(node, "tilewidth", 1, max_tile_side, 1);
    set.tile_height = whole(node, "tileheight", 1, max_tile_side, 1);
    const int32_t spacing = whole(node, "spacing", 0, max_tile_side, 0);
    const int32_t margin = whole(node, "margin", 0, max_tile_side, 0);
    set.tile_count = whole(node, "tilecount", 0, LayerData::max_cells, 0);
    if (auto it = node.find("tileoffset"); it != node.end() && it->is_object())
        set.tile_offset = {real(*it, "x", 0), real(*it, "y", 0)};
    const std::string image = text(node, "image");
    if (!image.empty()) {
        set.pictures.push_back(MapParts::load_picture(file, image, text(node, "transparentcolor")));
        MapParts::cut_atlas(set, spacing, margin, whole(node, "columns", 0, max_tile_side, 0));
    }
    for (const json& child : list(node, "tiles")) {
        if (!child.is_object())
            fail("tileset \"" + set.name + "\": a tile is not an object");
        const int32_t id = whole(child, "id", 0, 0x0fffffff, -1);
        if (id < 0)
            fail("tileset \"" + set.name + "\": a tile without an id");
        TiledTile& tile = set.tiles[static_cast<uint32_t>(id)];
        const std::string own = text(child, "image");
        if (!own.empty()) {
            set.pictures.push_back(MapParts::load_picture(file, own));
            MapParts::cut_collection_tile(
                set, tile, whole(child, "x", 0, 1 << 16, 0), whole(child, "y", 0, 1 << 16, 0),
                whole(child, "width", 1, 1 << 16, -1), whole(child, "height", 1, 1 << 16, -1));
        }
        if (tile.picture < 0)
            fail("tileset \"" + set.name + "\": tile " + std::to_string(id) + " has no picture");
        for (const json& frame : list(child, "animation")) {
            if (!frame.is_object() || !frame.contains("tileid"))
                fail("tileset \"" + set.name + "\": a damaged animation frame");
            tile.animation.push_back(
                {gid_of(frame["tileid"]), whole(frame, "duration", 0, 1 << 30, 0)});
        }
        tile.type = text(child, "class", text(child, "type"));
        read_properties(child, tile.properties);
    }
}

void JsonMapReader::read_common(const json& node, const TiledLayer& group, TiledLayer& layer) {
    layer.name = text(node, "name");
    layer.id = whole(node, "id", 0, 0x7fffffff, 0);
    layer.visible = group.visible && flag(node, "visible", true);
    layer.opacity = group.opacity * std::clamp(real(node, "opacity", 1), 0.0f, 1.0f);
    Color tint{1, 1, 1, 1};
    const std::string tint_text = text(node, "tintcolor");
    if (!tint_text.empty() && !TiledColor::parse(tint_text, tint))
        fail("layer \"" + layer.name + "\": tint colour \"" + tint_text + "\"");
    layer.tint = {group.tint.r * tint.r, group.tint.g * tint.g, group.tint.b * tint.b,
                  group.tint.a * tint.a};
    layer.offset = group.offset + Vector2{real(node, "offsetx", 0), real(node, "offsety", 0)};
    layer.parallax = {group.parallax.x * real(node, "parallaxx", 1),
                      group.parallax.y * real(node, "parallaxy", 1)};
    read_properties(node, layer.properties);
}

void JsonMapReader::read_layers(const json& layers, const TiledLayer& group, TiledMap& map) {
    for (const json& node : layers) {
        if (!node.is_object())
            fail("a layer is not an object");
        const std::string kind = text(node, "type");
        TiledLayer layer;
        read_common(node, group, layer);
        if (kind == "group") {
            read_layers(list(node, "layers"), layer, map);
            continue;
        }
        if (kind == "tilelayer") {
            layer.kind = TiledLayer::Kind::tiles;
            read_tile_layer(node, map, layer);
        } else if (kind == "imagelayer") {
            layer.kind = TiledLayer::Kind::image;
            layer.repeat_x = flag(node, "repeatx", false);
            layer.repeat_y = flag(node, "repeaty", false);
            const std::string image = text(node, "image");
            if (!image.empty())
                layer.picture =
                    MapParts::load_picture(path_, image, text(node, "transparentcolor"));
        } else if (kind == "objectgroup") {
            layer.kind = TiledLayer::Kind::objects;
            read_objects(node, map, layer);
        } else {
            fail("unknown layer type \"" + kind + "\"");
        }
        map.layers.push_back(std::move(layer));
    }
}

void JsonMapReader::read_tile_layer(const json& node, const TiledMap& map, TiledLayer& layer) {
    const std::string encoding = text(node, "encoding", "csv");
    const std::string compression = text(node, "compression");
    const std::string where = "layer \"" + layer.name + "\": ";
    // Cells are a list of numbers, or base64 text maybe compressed.
    auto decode = [&](const json& holder, int64_t count, std::vector<uint32_t>& cells) {
        auto data = holder.find("data");
        if (data == holder.end())
            fail(where + "no data");
        if (data->is_array()) {
            if (!compression.empty())
                fail(where + "a list of tiles cannot be compressed");
            if (static_cast<int64_t>(data->size()) != count)
                fail(where + "holds " + std::to_string(data->size()) + " tiles instead of " +
                     std::to_string(count));
            cells.reserve(data->size());
            for (const json& value : *data)
                cells.push_back(gid_of(value));
            return;
        }
        if (!data->is_string() || encoding != "base64")
            fail(where + "unsupported layer data");
        std::string error =
            LayerData::decode(encoding, compression, data->get<std::string>(), count, cells);
        if (!error.empty())
            fail(where + error);
    };
    if (!map.infinite) {
        layer.width = whole(node, "width", 0, max_map_side, map.width);
        layer.height = whole(node, "height", 0, max_map_side, map.height);
        MapParts::check_layer_size(layer);
        decode(node, int64_t(layer.width) * layer.height, layer.cells);
        return;
    }
    std::vector<MapParts::Chunk> chunks;
    for (const json& child : list(node, "chunks")) {
        if (!child.is_object())
            fail(where + "a chunk is not an object");
        if (chunks.size() >= MapParts::max_chunks)
            fail(where + "too many chunks");
        MapParts::Chunk c;
        c.x = whole(child, "x", -max_map_side, max_map_side, 0);
        c.y = whole(child, "y", -max_map_side, max_map_side, 0);
        c.width = whole(child, "width", 0, max_tile_side, 0);
        c.height = whole(child, "height", 0, max_tile_side, 0);
        decode(child, int64_t(c.width) * c.height, c.cells);
        chunks.push_back(std::move(c));
    }
    MapParts::join_chunks(chunks, layer);
}

void JsonMapReader::read_objects(const json& node, const TiledMap& map, TiledLayer& layer) {
    for (const json& child : list(node, "objects")) {
        if (!child.is_object())
            fail("an object is not an object");
        TiledObject object;
        const std::string source = text(child, "template");
        if (!source.empty()) {
            const std::string file = MapParts::resolve(path_, source);
            if (MapParts::is_json(file))
                read_template(file, map, object);
            else
                TmxReader::read_template(file, map, object);
        }
        apply_object(child, object);
        layer.objects.push_back(std::move(object));
    }
}

void JsonMapReader::read_template(const std::string& file, const TiledMap& map,
                                  TiledObject& object) {
    const std::string where = "template " + file + ": ";
    json root = parse_file(file, where);
    auto node = root.find("object");
    if (node == root.end() || !node->is_object())
        fail(where + "no object");
    apply_object(*node, object);
    if (object.gid == 0)
        return;
    // The template's tile ids count from its own tileset's first id; the map holds the same
    // tileset file under its own.
    auto set = root.find("tileset");
    if (set == root.end() || !set->is_object())
        fail(where + "a tile object without its tileset");
    const std::string source = MapParts::resolve(file, text(*set, "source"));
    const double first = number(*set, "firstgid", 0);
    const uint32_t flags = object.gid & TiledGid::flags;
    const uint32_t id = object.gid & ~TiledGid::flags;
    if (first < 1 || first > 0x0fffffff || first != std::floor(first) || id < first)
        fail(where + "a tile object without its tileset");
    for (const TiledTileset& own : map.tilesets)
        if (!own.source.empty() && own.source == source) {
            object.gid = (id - static_cast<uint32_t>(first) + own.first_gid) | flags;
            return;
        }
    fail(where + "its tileset " + source + " is not one of the map's");
}

void JsonMapReader::apply_object(const json& child, TiledObject& object) {
    object.id = whole(child, "id", 0, 0x7fffffff, object.id);
    const std::string which = "object " + std::to_string(object.id) + ": ";
    object.name = text(child, "name", object.name);
    // An empty class leaves the template's.
    const std::string type = text(child, "class", text(child, "type"));
    if (!type.empty())
        object.type = type;
    object.x = real(child, "x", object.x);
    object.y = real(child, "y", object.y);
    object.width = real(child, "width", object.width);
    object.height = real(child, "height", object.height);
    object.rotation = real(child, "rotation", object.rotation);
    object.visible = flag(child, "visible", object.visible);
    if (auto gid = child.find("gid"); gid != child.end()) {
        object.gid = gid_of(*gid);
        object.kind = TiledObject::Kind::tile;
    }
    if (flag(child, "ellipse", false))
        object.kind = TiledObject::Kind::ellipse;
    else if (flag(child, "point", false))
        object.kind = TiledObject::Kind::point;
    else if (child.contains("text"))
        object.kind = TiledObject::Kind::text;
    for (const char* kind : {"polygon", "polyline"}) {
        if (!child.contains(kind))
            continue;
        object.kind = kind[4] == 'g' ? TiledObject::Kind::polygon : TiledObject::Kind::polyline;
        object.points.clear();
        for (const json& p : list(child, kind)) {
            if (!p.is_object())
                fail(which + "damaged points");
            object.points.push_back({real(p, "x", NAN), real(p, "y", NAN)});
            if (!std::isfinite(object.points.back().x) || !std::isfinite(object.points.back().y))
                fail(which + "damaged points");
        }
        if (object.points.size() < 2)
            fail(which + "too few points");
    }
    read_properties(child, object.properties);
}

void JsonMapReader::read_properties(const json& node, TiledProperties& properties) {
    for (const json& p : list(node, "properties")) {
        if (!p.is_object())
            fail("a property is not an object");
        auto value = p.find("value");
        std::string shown;
        if (value != p.end())
            shown = value->is_string() ? value->get<std::string>() : value->dump();
        properties[text(p, "name")] = shown;
    }
}
