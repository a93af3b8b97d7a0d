// Script functions of Tiled maps (engine extensions).
#include <cstdio>

#include "Map/JsonMapReader.h"
#include "Map/MapLoader.h"
#include "Map/MapParts.h"
#include "Map/TmxReader.h"
#include "Mechanisms/TriggerManager.h"
#include "Scene/Level.h"
#include "Script/LuaFunctions.h"
#include "Script/ScriptErrorLog.h"
#include "Script/ScriptHost.h"
#include "Shell/Game.h"

namespace {

// A map that does not load is a failed script step: reported like a script error, with the
// calling script's place.
void report(const std::string& why) {
    std::string place = ScriptHost::calling_place();
    ScriptErrorLog::report((place.empty() ? "(no script)" : place) + ": map_load: " + why);
}

std::unique_ptr<TiledMap> read_map(const std::string& path, std::string& error) {
    return MapParts::is_json(path) ? JsonMapReader::read(path, error)
                                   : TmxReader::read(path, error);
}

const LevelMarks* marks(const char* function) {
    Level* level = Game::instance().level.get();
    if (!level)
        ScriptErrorLog::missing(function, "current level");
    return level ? &level->marks : nullptr;
}

// A spawn point of the current level's map, reported as missing when there is none.
const Vector2* spawn_point(const char* function, const std::string& name) {
    const LevelMarks* m = marks(function);
    if (!m)
        return nullptr;
    auto it = m->spawn_points.find(name);
    if (it == m->spawn_points.end()) {
        ScriptErrorLog::missing(function, "spawn point", name);
        return nullptr;
    }
    return &it->second;
}

}  // namespace

bool LuaFunctions::map_load(const std::string& path, float x, float y) {
    return map_load_scaled(path, x, y, 1);
}

bool LuaFunctions::map_load_scaled(const std::string& path, float x, float y, float scale) {
    // Beyond this a map's coordinates would lose their whole units.
    constexpr float largest_scale = 1024;
    if (!(scale > 0 && scale <= largest_scale)) {
        char shown[32];
        std::snprintf(shown, sizeof shown, "%g", double(scale));
        report(path + ": scale " + shown + ": it must be above 0 and at most 1024");
        return false;
    }
    Game& game = Game::instance();
    if (!game.level || !game.triggers) {
        report(path + ": no current level");
        return false;
    }
    try {
        std::string error;
        std::unique_ptr<TiledMap> map = read_map(path, error);
        if (!map) {
            report(error);
            return false;
        }
        MapLoader loader(*map, {x, y}, scale);
        error = loader.build();
        if (!error.empty()) {
            report(path + ": " + error);
            return false;
        }
        loader.commit(*game.level, *game.triggers, game.renderer.get());
        return true;
    } catch (const std::exception& e) {
        // Out of memory on an absurd map; nothing was committed.
        report(path + ": " + e.what());
        return false;
    }
}

int32_t LuaFunctions::map_layer(const std::string& name) {
    const LevelMarks* m = marks(__func__);
    if (!m)
        return -1;
    auto it = m->layers.find(name);
    if (it == m->layers.end()) {
        ScriptErrorLog::missing(__func__, "map layer", name);
        return -1;
    }
    return it->second;
}

const char* LuaFunctions::map_property(const std::string& name) {
    const LevelMarks* m = marks(__func__);
    if (!m)
        return nullptr;
    auto it = m->properties.find(name);
    return it == m->properties.end() ? nullptr : it->second.c_str();
}

const char* LuaFunctions::map_object_property(const std::string& object, const std::string& name) {
    const LevelMarks* m = marks(__func__);
    if (!m)
        return nullptr;
    auto it = m->object_properties.find(object);
    if (it == m->object_properties.end()) {
        ScriptErrorLog::missing(__func__, "map object", object);
        return nullptr;
    }
    auto p = it->second.find(name);
    return p == it->second.end() ? nullptr : p->second.c_str();
}

bool LuaFunctions::map_has_spawn(const std::string& name) {
    const LevelMarks* m = marks(__func__);
    return m && m->spawn_points.count(name) > 0;
}

float LuaFunctions::map_spawn_x(const std::string& name) {
    const Vector2* spot = spawn_point(__func__, name);
    return spot ? spot->x : 0;
}

float LuaFunctions::map_spawn_y(const std::string& name) {
    const Vector2* spot = spawn_point(__func__, name);
    return spot ? spot->y : 0;
}
