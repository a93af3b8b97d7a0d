#include "Map/TmxReader.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "Map/JsonMapReader.h"
#include "Map/LayerData.h"
#include "Map/MapError.h"
#include "Map/MapParts.h"
#include "Map/TiledColor.h"

namespace {

constexpr int32_t max_tile_side = MapParts::max_tile_side;
constexpr int32_t max_map_side = MapParts::max_map_side;

[[noreturn]] void fail(const std::string& why) {
    throw MapError(why);
}

// pugixml sizes its buffer from the file's reported length, which for a folder or a device is
// meaningless (a folder once asked for 2^63 bytes): only regular files of a sane size are read.
pugi::xml_parse_result load_xml(pugi::xml_document& doc, const std::string& file) {
    constexpr std::uintmax_t largest = 256u << 20;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        pugi::xml_parse_result missing;
        missing.status = pugi::status_file_not_found;
        return missing;
    }
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec || size > largest)
        fail(file + ": larger than 256 MB");
    return doc.load_file(file.c_str());
}

std::string resolve(const std::string& file, const std::string& source) {
    return MapParts::resolve(file, source);
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
        pugi::xml_parse_result parsed = load_xml(doc, path);
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
    if (pugi::xml_attribute a = node.attribute("backgroundcolor")) {
        Color background;
        if (!TiledColor::parse(a.value(), background))
            fail(std::string("background colour \"") + a.value() + "\"");
        map.background = background;
    }
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
            if (MapParts::is_json(file))
                JsonMapReader::read_tileset_file(file, set);
            else
                read_tileset_file(file, set);
        } else {
            read_tileset(child, path_, set);
        }
        map.tilesets.push_back(std::move(set));
    }
    read_layers(node, TiledLayer{}, map);
}

void TmxReader::read_tileset_file(const std::string& file, TiledTileset& set) {
    pugi::xml_document doc;
    pugi::xml_parse_result parsed = load_xml(doc, file);
    if (!parsed)
        fail("tileset " + file + ": " +
             (parsed.status == pugi::status_file_not_found
                  ? std::string("no such file")
                  : std::string("damaged XML (") + parsed.description() + ")"));
    pugi::xml_node root = doc.child("tileset");
    if (!root)
        fail("tileset " + file + ": no <tileset>");
    read_tileset(root, file, set);
    set.source = file;
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
        set.pictures.push_back(MapParts::load_picture(file, image.attribute("source").as_string(),
                                                      image.attribute("trans").as_string()));
        MapParts::cut_atlas(set, spacing, margin,
                            checked_int(node, "columns", 0, max_tile_side, 0));
    }
    for (pugi::xml_node child : node.children("tile")) {
        const uint32_t id = checked_gid(child, "id");
        if (id > 0x0fffffffu)
            fail("tileset \"" + set.name + "\": tile id out of range");
        TiledTile& tile = set.tiles[id];
        if (pugi::xml_node image = child.child("image")) {
            // An image-collection tile: its own picture, or a part of it.
            set.pictures.push_back(MapParts::load_picture(
                file, image.attribute("source").as_string(), image.attribute("trans").as_string()));
            MapParts::cut_collection_tile(set, tile, checked_int(child, "x", 0, 1 << 16, 0),
                                          checked_int(child, "y", 0, 1 << 16, 0),
                                          checked_int(child, "width", 1, 1 << 16, -1),
                                          checked_int(child, "height", 1, 1 << 16, -1));
        }
        if (tile.picture < 0)
            fail("tileset \"" + set.name + "\": tile " + std::to_string(id) + " has no picture");
        for (pugi::xml_node frame : child.child("animation").children("frame"))
            tile.animation.push_back(
                {checked_gid(frame, "tileid"), checked_int(frame, "duration", 0, 1 << 30, 0)});
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
            layer.repeat_x = node.attribute("repeatx").as_int(0) != 0;
            layer.repeat_y = node.attribute("repeaty").as_int(0) != 0;
            pugi::xml_node image = node.child("image");
            if (image && image.attribute("source").as_string()[0])
                layer.picture = MapParts::load_picture(path_, image.attribute("source").as_string(),
                                                       image.attribute("trans").as_string());
        } else {
            layer.kind = TiledLayer::Kind::objects;
            read_objects(node, map, layer);
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
        MapParts::check_layer_size(layer);
        const int64_t count = int64_t(layer.width) * layer.height;
        if (!data)
            fail(where + "no <data>");
        decode(data, count, layer.cells);
        return;
    }
    std::vector<MapParts::Chunk> chunks;
    for (pugi::xml_node child : data.children("chunk")) {
        if (chunks.size() >= MapParts::max_chunks)
            fail(where + "too many chunks");
        MapParts::Chunk c;
        c.x = checked_int(child, "x", -max_map_side, max_map_side, 0);
        c.y = checked_int(child, "y", -max_map_side, max_map_side, 0);
        c.width = checked_int(child, "width", 0, max_tile_side, 0);
        c.height = checked_int(child, "height", 0, max_tile_side, 0);
        decode(child, int64_t(c.width) * c.height, c.cells);
        chunks.push_back(std::move(c));
    }
    MapParts::join_chunks(chunks, layer);
}

void TmxReader::read_objects(const pugi::xml_node& node, const TiledMap& map, TiledLayer& layer) {
    for (pugi::xml_node child : node.children("object")) {
        TiledObject object;
        if (pugi::xml_attribute source = child.attribute("template")) {
            const std::string file = resolve(path_, source.value());
            if (MapParts::is_json(file))
                JsonMapReader::read_template(file, map, object);
            else
                read_template(file, map, object);
        }
        apply_object(child, object);
        layer.objects.push_back(std::move(object));
    }
}

void TmxReader::read_template(const std::string& file, const TiledMap& map, TiledObject& object) {
    const std::string where = "template " + file + ": ";
    pugi::xml_document doc;
    pugi::xml_parse_result parsed = load_xml(doc, file);
    if (!parsed)
        fail(where + (parsed.status == pugi::status_file_not_found
                          ? std::string("no such file")
                          : std::string("damaged XML (") + parsed.description() + ")"));
    pugi::xml_node root = doc.child("template");
    pugi::xml_node node = root.child("object");
    if (!node)
        fail(where + "no <object>");
    apply_object(node, object);
    if (object.gid == 0)
        return;
    // The template's tile ids count from its own tileset's first id; the map holds the same
    // tileset file under its own.
    pugi::xml_node set = root.child("tileset");
    const std::string source = resolve(file, set.attribute("source").as_string());
    const uint32_t first = checked_gid(set, "firstgid");
    const uint32_t flags = object.gid & TiledGid::flags;
    const uint32_t id = object.gid & ~TiledGid::flags;
    if (!set || first == 0 || id < first)
        fail(where + "a tile object without its tileset");
    for (const TiledTileset& own : map.tilesets)
        if (!own.source.empty() && own.source == source) {
            object.gid = (id - first + own.first_gid) | flags;
            return;
        }
    fail(where + "its tileset " + source + " is not one of the map's");
}

void TmxReader::apply_object(const pugi::xml_node& child, TiledObject& object) {
    object.id = checked_int(child, "id", 0, 0x7fffffff, object.id);
    object.name = child.attribute("name").as_string(object.name.c_str());
    object.type =
        child.attribute("class").as_string(child.attribute("type").as_string(object.type.c_str()));
    object.x = checked_float(child, "x", object.x);
    object.y = checked_float(child, "y", object.y);
    object.width = checked_float(child, "width", object.width);
    object.height = checked_float(child, "height", object.height);
    object.rotation = checked_float(child, "rotation", object.rotation);
    object.visible = child.attribute("visible").as_int(object.visible ? 1 : 0) != 0;
    if (child.attribute("gid")) {
        object.gid = checked_gid(child, "gid");
        object.kind = TiledObject::Kind::tile;
    }
    if (child.child("ellipse"))
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
        object.points.clear();
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
}

void TmxReader::read_properties(const pugi::xml_node& node, TiledProperties& properties) {
    for (pugi::xml_node p : node.child("properties").children("property")) {
        // Multi-line strings are kept as the element's text.
        pugi::xml_attribute value = p.attribute("value");
        properties[p.attribute("name").as_string()] = value ? value.value() : p.child_value();
    }
}
