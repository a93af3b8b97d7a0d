#pragma once

#include <memory>
#include <string>

#include "Map/TiledMap.h"

namespace pugi {
class xml_node;
}

// Reads an orthogonal Tiled map saved as TMX (XML), with its external tilesets (.tsx) and
// every picture it names, into a TiledMap. Anything it cannot use fully makes the whole read
// fail with the reason.
class TmxReader {
  public:
    // The map, or null with error set to why not ("file:what").
    static std::unique_ptr<TiledMap> read(const std::string& path, std::string& error);

    // An external tileset (.tsx) and an object template (.tx), for maps of either format. The
    // template fills an object; the object's own attributes then overlay it.
    static void read_tileset_file(const std::string& file, TiledTileset& set);
    static void read_template(const std::string& file, const TiledMap& map, TiledObject& object);

  private:
    explicit TmxReader(std::string path) : path_(std::move(path)) {}
    void read_map(const pugi::xml_node& node, TiledMap& map);
    static void read_tileset(const pugi::xml_node& node, const std::string& file,
                             TiledTileset& set);
    void read_layers(const pugi::xml_node& parent, const TiledLayer& group, TiledMap& map);
    void read_tile_layer(const pugi::xml_node& node, const TiledMap& map, TiledLayer& layer);
    void read_objects(const pugi::xml_node& node, const TiledMap& map, TiledLayer& layer);
    // Sets what the node states and keeps the rest.
    static void apply_object(const pugi::xml_node& node, TiledObject& object);
    static void read_common(const pugi::xml_node& node, const TiledLayer& group, TiledLayer& layer);
    static void read_properties(const pugi::xml_node& node, TiledProperties& properties);

    std::string path_;
};
