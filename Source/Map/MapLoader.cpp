#include "Map/MapLoader.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "Map/RepeatedImage.h"
#include "Map/TileLayer.h"
#include "Mechanisms/GateTrigger.h"
#include "Mechanisms/TimedTrigger.h"
#include "Mechanisms/TriggerManager.h"
#include "Mechanisms/UseTrigger.h"
#include "Physics/CircleShape.h"
#include "Physics/ConvexPieces.h"
#include "Physics/PolygonShape.h"
#include "Render/Registries.h"
#include "Render/Renderer.h"
#include "Scene/AnimatedSprite.h"
#include "Scene/Level.h"
#include "Scene/TexturedSprite.h"

namespace {

constexpr float degrees = 3.14159265358979f / 180.0f;
// Ellipses that are not circles become polygons of this many corners.
constexpr int32_t ellipse_corners = 16;

std::string lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string property(const TiledProperties& properties, const char* name,
                     const std::string& fallback = "") {
    auto it = properties.find(name);
    return it == properties.end() ? fallback : it->second;
}

// An integer property; false when it is there and not an integer.
bool int_property(const TiledProperties& properties, const char* name, int32_t& value) {
    auto it = properties.find(name);
    if (it == properties.end())
        return true;
    char* end = nullptr;
    const long v = std::strtol(it->second.c_str(), &end, 10);
    if (it->second.empty() || *end != '\0' || v < INT32_MIN || v > INT32_MAX)
        return false;
    value = static_cast<int32_t>(v);
    return true;
}

// The id an object gives what it becomes: its property id, or else its own id. False when
// the property is there and not an integer.
bool object_id(const TiledObject& object, int32_t& id) {
    id = object.id;
    return int_property(object.properties, "id", id);
}

std::string object_name(const TiledObject& object) {
    return "object " + std::to_string(object.id) +
           (object.name.empty() ? "" : " \"" + object.name + "\"");
}

// The points of a polygon or polyline object in its own frame, y up, in world units.
std::vector<Vector2> local_points(const TiledObject& object, float scale) {
    std::vector<Vector2> points;
    for (Vector2 p : object.points)
        points.push_back({p.x * scale, -p.y * scale});
    return points;
}

std::unique_ptr<PolygonShape> polygon_of(std::vector<Vector2> points, std::string& error) {
    float area = 0;
    for (size_t i = 0; i < points.size(); ++i)
        area += cross(points[i], points[(i + 1) % points.size()]);
    if (area < 0)
        std::reverse(points.begin(), points.end());
    const size_t n = points.size();
    if (n < 3 || area == 0) {
        error = "a polygon without area";
        return nullptr;
    }
    for (size_t i = 0; i < n; ++i) {
        const Vector2 e1 = points[(i + 1) % n] - points[i];
        const Vector2 e2 = points[(i + 2) % n] - points[(i + 1) % n];
        if ((e1.x == 0 && e1.y == 0) || cross(e1, e2) < 0) {
            error = "a polygon that is not convex";
            return nullptr;
        }
    }
    auto polygon = std::make_unique<PolygonShape>(static_cast<int32_t>(n));
    for (size_t i = 0; i < n; ++i)
        polygon->set_vertex(static_cast<int32_t>(i), points[i].x, points[i].y);
    return polygon;
}

// The texture coordinates of a tile's corners in a sprite's order (lower-left, lower-right,
// upper-right, upper-left) with Tiled's flips: the diagonal flip (x and y swapped) first, then
// the horizontal and vertical ones.
void flipped_corners(const TiledTile& tile, const Image& image, uint32_t flips, Vector2 out[4]) {
    const float left = float(tile.x) / float(image.width);
    const float right = float(tile.x + tile.width) / float(image.width);
    const float top = 1.0f - float(tile.y) / float(image.height);
    const float bottom = 1.0f - float(tile.y + tile.height) / float(image.height);
    // Each corner as (s, t) across the shown tile from its top-left, and where it samples.
    const Vector2 shown[4] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    for (int i = 0; i < 4; ++i) {
        float s = shown[i].x, t = shown[i].y;
        if (flips & TiledGid::flip_vertical)
            t = 1 - t;
        if (flips & TiledGid::flip_horizontal)
            s = 1 - s;
        if (flips & TiledGid::flip_diagonal)
            std::swap(s, t);
        out[i] = {left + s * (right - left), top + t * (bottom - top)};
    }
}

}  // namespace

std::string MapLoader::build() {
    for (const TiledLayer& source : map_.layers) {
        auto layer = std::make_unique<Layer>(source.parallax, BlendState::alpha());
        layer->visible = source.visible;
        layer->colour = {source.tint.r, source.tint.g, source.tint.b,
                         source.tint.a * source.opacity};
        std::string error;
        if (source.kind == TiledLayer::Kind::tiles)
            error = build_tiles(source, *layer);
        else if (source.kind == TiledLayer::Kind::image)
            error = build_image(source, *layer);
        else
            error = build_objects(source, *layer);
        if (!error.empty())
            return "layer \"" + source.name + "\": " + error;
        layers_.push_back(std::move(layer));
        layer_names_.push_back(source.name);
    }
    marks_.properties = map_.properties;
    marks_.background = map_.background;
    return "";
}

Texture* MapLoader::texture_of(const TiledPicture& picture, bool repeat_x, bool repeat_y) {
    // A picture that repeats is a texture of its own, set to wrap round.
    const std::string name =
        "tiled:" + picture.path + (repeat_x ? "#repeat-x" : "") + (repeat_y ? "#repeat-y" : "");
    if (Texture* known = TextureRegistry::instance().find(name)) {
        if (std::find(known_textures_.begin(), known_textures_.end(), known) ==
            known_textures_.end())
            known_textures_.push_back(known);
        return known;
    }
    for (const auto& [made, texture] : new_textures_)
        if (made == name)
            return texture.get();
    new_textures_.emplace_back(
        name,
        std::make_unique<Texture>(picture.image.get(), repeat_x ? 1 : 0, repeat_y ? 1 : 0, 0));
    return new_textures_.back().second.get();
}

TileLayer::Tile MapLoader::look_of(const TiledTileset& set, const TiledTile& tile) {
    const TiledPicture& picture = set.pictures[size_t(tile.picture)];
    const Image& image = *picture.image;
    TileLayer::Tile t;
    t.texture = texture_of(picture);
    t.u0 = float(tile.x) / float(image.width);
    t.u1 = float(tile.x + tile.width) / float(image.width);
    t.v0 = 1.0f - float(tile.y) / float(image.height);
    t.v1 = 1.0f - float(tile.y + tile.height) / float(image.height);
    t.width = float(tile.width) * scale_;
    t.height = float(tile.height) * scale_;
    t.offset = Vector2{set.tile_offset.x, -set.tile_offset.y} * scale_;
    return t;
}

std::string MapLoader::frames_of(const TiledTileset& set, const TiledTile& tile,
                                 std::vector<std::pair<const TiledTile*, float>>& frames) {
    for (const TiledTile::Frame& f : tile.animation) {
        auto it = set.tiles.find(f.tile);
        if (it == set.tiles.end())
            return "an animation frame shows unknown tile " + std::to_string(f.tile);
        if (f.duration <= 0)
            return "an animation frame lasts no time";
        frames.emplace_back(&it->second, float(f.duration) / 1000.0f);
    }
    return "";
}

std::string MapLoader::build_tiles(const TiledLayer& source, Layer& layer) {
    // Each distinct tile of the layer once, in the order first met.
    std::vector<TileLayer::Tile> tiles;
    std::map<uint32_t, uint32_t> index_of;
    std::vector<uint32_t> cells(source.cells.size());
    for (size_t i = 0; i < source.cells.size(); ++i) {
        const uint32_t value = source.cells[i];
        const uint32_t gid = value & ~TiledGid::flags;
        if (gid == 0)
            continue;
        if (value & TiledGid::rotate_hexagonal)
            return "a tile turned as on hexagonal maps";
        auto found = index_of.find(gid);
        if (found == index_of.end()) {
            const TiledTileset* set = map_.tileset_of(gid);
            const TiledTile* tile = map_.tile_of(gid);
            if (!set || !tile)
                return "unknown tile id " + std::to_string(gid);
            tiles.push_back(look_of(*set, *tile));
            found = index_of.emplace(gid, static_cast<uint32_t>(tiles.size())).first;
        }
        cells[i] = found->second | (value & TileLayer::flags);
    }
    const Vector2 top_left = world(source.offset.x + float(source.origin_x * map_.tile_width),
                                   source.offset.y + float(source.origin_y * map_.tile_height));
    // Parallax turns around the map's parallax origin: a layer lines up with the map when the
    // view's centre is there.
    const Vector2 o = world(map_.parallax_origin.x, map_.parallax_origin.y);
    const Vector2 shift{-(1 - source.parallax.x) * o.x, -(1 - source.parallax.y) * o.y};
    auto object = std::make_unique<TileLayer>(top_left + shift, float(map_.tile_width) * scale_,
                                              float(map_.tile_height) * scale_, source.width,
                                              source.height, std::move(cells), std::move(tiles));
    object->id = source.id;
    for (const auto& [gid, index] : index_of) {
        const TiledTileset* set = map_.tileset_of(gid);
        const TiledTile* tile = map_.tile_of(gid);
        if (tile->animation.empty())
            continue;
        std::vector<std::pair<const TiledTile*, float>> shown;
        std::string error = frames_of(*set, *tile, shown);
        if (!error.empty())
            return "tile " + std::to_string(gid) + ": " + error;
        std::vector<TileLayer::Frame> frames;
        for (const auto& [frame, seconds] : shown)
            frames.push_back({look_of(*set, *frame), seconds});
        object->animate(index, std::move(frames));
    }
    layer.add_object(std::move(object));
    return "";
}

std::string MapLoader::build_image(const TiledLayer& source, Layer& layer) {
    if (!source.picture.image)
        return "";
    const Image& image = *source.picture.image;
    const Vector2 o = world(map_.parallax_origin.x, map_.parallax_origin.y);
    const Vector2 shift{-(1 - source.parallax.x) * o.x, -(1 - source.parallax.y) * o.y};
    const float w = float(image.width) * scale_, h = float(image.height) * scale_;
    if (source.repeat_x || source.repeat_y) {
        auto repeated = std::make_unique<RepeatedImage>(
            texture_of(source.picture, source.repeat_x, source.repeat_y),
            world(source.offset.x, source.offset.y) + shift, Vector2{w, h}, source.repeat_x,
            source.repeat_y);
        repeated->id = source.id;
        layer.add_object(std::move(repeated));
        return "";
    }
    auto sprite = std::make_unique<TexturedSprite>(texture_of(source.picture));
    sprite->transform.position = world(source.offset.x, source.offset.y) + shift;
    sprite->corners[0] = {0, -h};
    sprite->corners[1] = {w, -h};
    sprite->corners[2] = {w, 0};
    sprite->corners[3] = {0, 0};
    sprite->id = source.id;
    layer.add_object(std::move(sprite));
    return "";
}

std::string MapLoader::build_objects(const TiledLayer& source, Layer& layer) {
    for (const TiledObject& object : source.objects) {
        if (!object.name.empty())
            marks_.object_properties[object.name] = object.properties;
        const std::string type = lower(object.type);
        std::string error;
        if (object.kind == TiledObject::Kind::tile)
            error = build_tile_object(object, source.offset, layer);
        if (!error.empty())
            return object_name(object) + ": " + error;
        if (object.kind == TiledObject::Kind::point) {
            if (!object.name.empty())
                marks_.spawn_points[object.name] =
                    world(source.offset.x + object.x, source.offset.y + object.y);
        } else if (type == "ground") {
            error = build_ground(object, source.offset);
        } else if (type == "collider") {
            error = build_collider(object, source.offset);
        } else if (type == "trigger") {
            error = build_trigger(object, source.offset);
        }
        if (!error.empty())
            return object_name(object) + ": " + error;
    }
    return "";
}

std::string MapLoader::build_tile_object(const TiledObject& object, Vector2 offset, Layer& layer) {
    const TiledTileset* set = map_.tileset_of(object.gid);
    const TiledTile* tile = map_.tile_of(object.gid);
    if (!set || !tile)
        return "unknown tile id " + std::to_string(object.gid & ~TiledGid::flags);
    int32_t id = 0;
    if (!object_id(object, id))
        return "property id is not an integer";
    if (!tile->animation.empty())
        return build_animated_object(object, offset, *set, *tile, id, layer);
    const TiledPicture& picture = set->pictures[size_t(tile->picture)];
    const Image& image = *picture.image;
    auto sprite = std::make_unique<TexturedSprite>(texture_of(picture));
    place_tile_sprite(*sprite, object, offset, id);
    flipped_corners(*tile, image, object.gid, sprite->tex_coords);
    layer.add_object(std::move(sprite));
    return "";
}

void MapLoader::place_tile_sprite(Sprite& sprite, const TiledObject& object, Vector2 offset,
                                  int32_t id) const {
    // A tile object hangs from its lower-left corner, and turns about it.
    sprite.transform.position = world(offset.x + object.x, offset.y + object.y);
    sprite.transform.set_rotation(-object.rotation * degrees);
    const Vector2 size = size_of(object);
    sprite.corners[0] = {0, 0};
    sprite.corners[1] = {size.x, 0};
    sprite.corners[2] = {size.x, size.y};
    sprite.corners[3] = {0, size.y};
    sprite.id = id;
    sprite.colour.a = object.visible ? 1.0f : 0.0f;
}

SubTexture* MapLoader::subtexture_of(const TiledTileset& set, const TiledTile& tile,
                                     uint32_t flips) {
    const TiledPicture& picture = set.pictures[size_t(tile.picture)];
    const std::string name = "tiled:" + picture.path + "#" + std::to_string(tile.x) + "," +
                             std::to_string(tile.y) + "," + std::to_string(tile.width) + "," +
                             std::to_string(tile.height) + "," + std::to_string(flips >> 29);
    if (SubTexture* known = SubTextureRegistry::instance().find(name))
        return known;
    for (const auto& [made, subtexture] : new_subtextures_)
        if (made == name)
            return subtexture.get();
    auto subtexture = std::make_unique<SubTexture>();
    subtexture->texture = texture_of(picture);
    flipped_corners(tile, *picture.image, flips, subtexture->corners);
    new_subtextures_.emplace_back(name, std::move(subtexture));
    return new_subtextures_.back().second.get();
}

std::string MapLoader::build_animated_object(const TiledObject& object, Vector2 offset,
                                             const TiledTileset& set, const TiledTile& tile,
                                             int32_t id, Layer& layer) {
    std::vector<std::pair<const TiledTile*, float>> shown;
    std::string error = frames_of(set, tile, shown);
    if (!error.empty())
        return error;
    // A template the sprite copies: the frames' sub-textures stay in the registry.
    Animation animation(0, 0);
    for (const auto& [frame, seconds] : shown)
        animation.add_frame(subtexture_of(set, *frame, object.gid & TiledGid::flags), seconds);
    auto sprite = std::make_unique<AnimatedSprite>(&animation);
    place_tile_sprite(*sprite, object, offset, id);
    layer.add_object(std::move(sprite));
    return "";
}

Vector2 MapLoader::size_of(const TiledObject& object) const {
    Vector2 size{object.width, object.height};
    // A tile object without its own size has its tile's.
    if (object.kind == TiledObject::Kind::tile)
        if (const TiledTile* tile = map_.tile_of(object.gid)) {
            if (!(size.x > 0))
                size.x = float(tile->width);
            if (!(size.y > 0))
                size.y = float(tile->height);
        }
    return size * scale_;
}

std::string MapLoader::build_ground(const TiledObject& object, Vector2 offset) {
    const Vector2 size = size_of(object);
    int32_t code = 0;
    if (!int_property(object.properties, "code", code))
        return "property code is not an integer";
    std::vector<Vector2> points;
    if (object.kind == TiledObject::Kind::polyline) {
        points = local_points(object, scale_);
        if (points.front().x > points.back().x)
            std::reverse(points.begin(), points.end());
    } else if (object.kind == TiledObject::Kind::polygon ||
               object.kind == TiledObject::Kind::rectangle) {
        // The upper side of the outline, from its leftmost corner to its rightmost one.
        std::vector<Vector2> outline =
            object.kind == TiledObject::Kind::polygon
                ? local_points(object, scale_)
                : std::vector<Vector2>{{0, 0}, {size.x, 0}, {size.x, -size.y}, {0, -size.y}};
        const size_t n = outline.size();
        size_t left = 0, right = 0;
        for (size_t i = 0; i < n; ++i) {
            if (outline[i].x < outline[left].x ||
                (outline[i].x == outline[left].x && outline[i].y > outline[left].y))
                left = i;
            if (outline[i].x > outline[right].x ||
                (outline[i].x == outline[right].x && outline[i].y > outline[right].y))
                right = i;
        }
        // Of the two ways round from left to right, the one passing higher.
        std::vector<Vector2> forward, backward;
        for (size_t i = left;; i = (i + 1) % n) {
            forward.push_back(outline[i]);
            if (i == right)
                break;
        }
        for (size_t i = left;; i = (i + n - 1) % n) {
            backward.push_back(outline[i]);
            if (i == right)
                break;
        }
        auto height = [](const std::vector<Vector2>& path) {
            float sum = 0;
            for (Vector2 p : path)
                sum += p.y;
            return sum / float(path.size());
        };
        points = height(forward) >= height(backward) ? forward : backward;
    } else if (object.kind == TiledObject::Kind::tile) {
        // The top of the tile's picture, which hangs from its lower-left corner.
        points = {{0, size.y}, {size.x, size.y}};
    } else {
        return "ground must be a polyline, a polygon, a rectangle or a tile";
    }
    if (points.size() < 2 || points.front().x >= points.back().x)
        return "ground without width";
    Transform placed;
    placed.position = world(offset.x + object.x, offset.y + object.y);
    placed.set_rotation(-object.rotation * degrees);
    auto strip = std::make_unique<SegmentStrip>(code);
    for (size_t i = 0; i + 1 < points.size(); ++i)
        strip->append_segment(placed.apply(points[i]), placed.apply(points[i + 1]));
    strips_.push_back(std::move(strip));
    return "";
}

std::string MapLoader::build_collider(const TiledObject& object, Vector2 offset) {
    int32_t id = 0;
    if (!object_id(object, id))
        return "property id is not an integer";
    std::vector<std::unique_ptr<Shape>> shapes;
    std::string error;
    if (object.kind == TiledObject::Kind::polygon) {
        // A concave outline becomes one collider per convex piece, all with the same id.
        std::vector<std::vector<Vector2>> pieces;
        error = convex_pieces(local_points(object, scale_), pieces);
        for (size_t i = 0; i < pieces.size() && error.empty(); ++i)
            shapes.push_back(polygon_of(pieces[i], error));
    } else {
        shapes.push_back(shape_of(object, error));
    }
    if (!error.empty())
        return error;
    const Vector2 at = world(offset.x + object.x, offset.y + object.y);
    for (const auto& shape : shapes) {
        auto collider = make_collider(id, shape.get(), at.x, at.y);
        collider->transform.set_rotation(-object.rotation * degrees);
        colliders_.push_back(std::move(collider));
    }
    return "";
}

std::string MapLoader::build_trigger(const TiledObject& object, Vector2 offset) {
    int32_t id = 0;
    if (!object_id(object, id))
        return "property id is not an integer";
    const std::string kind = lower(property(object.properties, "kind", "gate"));
    const std::string script = property(object.properties, "script");
    if (kind == "timed") {
        auto timed = std::make_unique<TimedTrigger>();
        timed->script = script;
        char* end = nullptr;
        const std::string period = property(object.properties, "period", "0");
        const float seconds = std::strtof(period.c_str(), &end);
        if (*end != '\0' || !std::isfinite(seconds))
            return "property period is not a number";
        timed->set_repeat(seconds, lower(property(object.properties, "repeat")) == "true");
        timed->id = id;
        triggers_.push_back(std::move(timed));
        return "";
    }
    std::unique_ptr<AreaTrigger> area;
    if (kind == "gate") {
        auto gate = std::make_unique<GateTrigger>();
        gate->enter_script = script;
        gate->leave_script = property(object.properties, "leave_script");
        area = std::move(gate);
    } else if (kind == "use") {
        auto use = std::make_unique<UseTrigger>();
        use->script = script;
        area = std::move(use);
    } else {
        return "unknown trigger kind \"" + kind + "\" (gate, use or timed)";
    }
    std::string error;
    area->shape = shape_of(object, error);
    if (!area->shape)
        return error;
    area->transform.position = world(offset.x + object.x, offset.y + object.y);
    area->transform.set_rotation(-object.rotation * degrees);
    // Groups are lists separated by commas.
    auto add_groups = [](const std::string& list, GroupList& groups) {
        std::stringstream in(list);
        std::string group;
        while (std::getline(in, group, ','))
            if (!group.empty())
                groups.add(group);
    };
    add_groups(property(object.properties, "groups"), area->belong_to);
    add_groups(property(object.properties, "used_by"), area->can_use_me);
    area->id = id;
    triggers_.push_back(std::move(area));
    return "";
}

std::unique_ptr<Shape> MapLoader::shape_of(const TiledObject& object, std::string& error) const {
    const Vector2 size = size_of(object);
    const float w = size.x, h = size.y;
    switch (object.kind) {
        case TiledObject::Kind::rectangle:
            if (w <= 0 || h <= 0)
                break;
            return polygon_of({{0, -h}, {w, -h}, {w, 0}, {0, 0}}, error);
        case TiledObject::Kind::ellipse: {
            if (w <= 0 || h <= 0)
                break;
            if (w == h)
                return std::make_unique<CircleShape>(w / 2, -h / 2, w / 2);
            std::vector<Vector2> points;
            for (int32_t i = 0; i < ellipse_corners; ++i) {
                const float a = 2 * 3.14159265358979f * float(i) / float(ellipse_corners);
                points.push_back({w / 2 + w / 2 * std::cos(a), -h / 2 + h / 2 * std::sin(a)});
            }
            return polygon_of(points, error);
        }
        case TiledObject::Kind::polygon:
            return polygon_of(local_points(object, scale_), error);
        case TiledObject::Kind::tile:
            // A tile object's rectangle hangs from its lower-left corner, like its picture.
            if (w <= 0 || h <= 0)
                break;
            return polygon_of({{0, 0}, {w, 0}, {w, h}, {0, h}}, error);
        default:
            error = "a shape must be a rectangle, an ellipse or a polygon";
            return nullptr;
    }
    error = "a shape without area";
    return nullptr;
}

void MapLoader::commit(Level& level, TriggerManager& triggers, Renderer* renderer) {
    first_layer_ = level.layer_count();
    for (auto& [name, texture] : new_textures_) {
        Texture* kept = texture.get();
        if (TextureRegistry::instance().add(name, std::move(texture)) && renderer)
            renderer->upload(kept);
    }
    for (auto& [name, subtexture] : new_subtextures_)
        SubTextureRegistry::instance().add(name, std::move(subtexture));
    // Pictures of earlier maps may not be on this renderer yet (after a restart).
    for (Texture* texture : known_textures_)
        if (renderer)
            renderer->upload(texture);
    for (size_t i = 0; i < layers_.size(); ++i) {
        if (!layer_names_[i].empty())
            marks_.layers[layer_names_[i]] = layer_index(static_cast<int32_t>(i));
        level.layers.push_back(std::move(layers_[i]));
    }
    for (auto& strip : strips_)
        level.segment_strips.push_back(std::move(strip));
    for (auto& collider : colliders_)
        level.colliders.push_back(std::move(collider));
    for (auto& trigger : triggers_)
        triggers.add(std::move(trigger));
    for (auto& [k, v] : marks_.properties)
        level.marks.properties[k] = v;
    for (auto& [k, v] : marks_.object_properties)
        level.marks.object_properties[k] = v;
    for (auto& [k, v] : marks_.spawn_points)
        level.marks.spawn_points[k] = v;
    for (auto& [k, v] : marks_.layers)
        level.marks.layers[k] = v;
    if (marks_.background)
        level.marks.background = marks_.background;
}
