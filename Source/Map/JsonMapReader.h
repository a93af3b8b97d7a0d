#pragma once

#include <memory>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "Map/TiledMap.h"

// Reads an orthogonal Tiled map saved as JSON (.tmj or .json), with its external tilesets
// (.tsj or .json) and every picture it names, into a TiledMap: the same map the TMX reader
// makes of the same map saved as TMX. Anything it cannot use fully makes the whole read fail
// with the reason.
class JsonMapReader {
  public:
    // The map, or null with error set to why not ("file: what").
    static std::unique_ptr<TiledMap> read(const std::string& path, std::string& error);

    // An external tileset (.tsj) and an object template (.tj), for maps of either format. The
    // template fills an object; the object's own fields then overlay it.
    static void read_tileset_file(const std::string& file, TiledTileset& set);
    static void read_template(const std::string& file, const TiledMap& map, TiledObject& object);

  private:
    explicit JsonMapReader(std::string path) : path_(std::move(path)) {}
    void read_map(const nlohmann::json& node, TiledMap& map);
    static void read_tileset(const nlohmann::json& node, const std::string& file,
                             TiledTileset& set);
    void read_layers(const nlohmann::json& layers, const TiledLayer& group, TiledMap& map);
    void read_tile_layer(const nlohmann::json& node, const TiledMap& map, TiledLayer& layer);
    void read_objects(const nlohmann::json& node, const TiledMap& map, TiledLayer& layer);
    // Sets what the node states and keeps the rest.
    static void apply_object(const nlohmann::json& node, TiledObject& object);
    static void read_common(const nlohmann::json& node, const TiledLayer& group, TiledLayer& layer);
    static void read_properties(const nlohmann::json& node, TiledProperties& properties);

    std::string path_;
};
