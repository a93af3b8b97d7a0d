#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Map/TileLayer.h"
#include "Map/TiledMap.h"
#include "Physics/Collider.h"
#include "Physics/SegmentStrip.h"
#include "Render/SubTexture.h"
#include "Render/Texture.h"
#include "Render/Vector2.h"
#include "Scene/Layer.h"
#include "Scene/LevelMarks.h"

class Level;
class Renderer;
class Shape;
class Sprite;
class Trigger;
class TriggerManager;

// Turns a Tiled map into level contents in two steps: build makes everything aside and may
// fail with a reason; commit then hands it all to the level, the trigger manager and the
// texture registry, and cannot fail. A map that fails therefore changes nothing.
//
// A Tiled pixel is `scale` world units; Tiled's (x, y), y down from the map's top-left corner,
// lands at world (origin.x + scale * x, origin.y - scale * y).
class MapLoader {
  public:
    // scale: world units per Tiled pixel.
    MapLoader(const TiledMap& map, Vector2 origin, float scale = 1)
        : map_(map), origin_(origin), scale_(scale) {}
    // "" or why the map cannot become level contents.
    std::string build();
    void commit(Level& level, TriggerManager& triggers, Renderer* renderer);

  private:
    Vector2 world(float x, float y) const {
        return {origin_.x + x * scale_, origin_.y - y * scale_};
    }
    // An object's width and height in world units (a tile object's default to its tile's).
    Vector2 size_of(const TiledObject& object) const;
    std::string build_tiles(const TiledLayer& source, Layer& layer);
    std::string build_image(const TiledLayer& source, Layer& layer);
    std::string build_objects(const TiledLayer& source, Layer& layer);
    std::string build_tile_object(const TiledObject& object, Vector2 offset, Layer& layer);
    std::string build_animated_object(const TiledObject& object, Vector2 offset,
                                      const TiledTileset& set, const TiledTile& tile, int32_t id,
                                      Layer& layer);
    // Places a tile object's sprite: position, turn, size, id and visibility.
    void place_tile_sprite(Sprite& sprite, const TiledObject& object, Vector2 offset,
                           int32_t id) const;
    TileLayer::Tile look_of(const TiledTileset& set, const TiledTile& tile);
    // The tiles and seconds of a tile's animation, or why they cannot be shown.
    static std::string frames_of(const TiledTileset& set, const TiledTile& tile,
                                 std::vector<std::pair<const TiledTile*, float>>& frames);
    // A registered (or staged) sub-texture of the tile with flips in Tiled's flag bits.
    SubTexture* subtexture_of(const TiledTileset& set, const TiledTile& tile, uint32_t flips);
    std::string build_ground(const TiledObject& object, Vector2 offset);
    std::string build_collider(const TiledObject& object, Vector2 offset);
    std::string build_trigger(const TiledObject& object, Vector2 offset);
    // The object's outline as a shape in its own frame (y up, origin at the object's (x, y)),
    // or null with error set.
    std::unique_ptr<Shape> shape_of(const TiledObject& object, std::string& error) const;
    Texture* texture_of(const TiledPicture& picture, bool repeat_x = false, bool repeat_y = false);
    int32_t layer_index(int32_t i) const { return first_layer_ + i; }

    const TiledMap& map_;
    Vector2 origin_;
    float scale_;
    int32_t first_layer_ = 0;

    std::vector<std::pair<std::string, std::unique_ptr<Texture>>> new_textures_;
    std::vector<Texture*> known_textures_;
    std::vector<std::pair<std::string, std::unique_ptr<SubTexture>>> new_subtextures_;
    std::vector<std::unique_ptr<Layer>> layers_;
    SegmentStripList strips_;
    ColliderList colliders_;
    std::vector<std::unique_ptr<Trigger>> triggers_;
    LevelMarks marks_;
    std::vector<std::string> layer_names_;
};
