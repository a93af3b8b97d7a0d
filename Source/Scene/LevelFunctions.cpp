// Script functions of levels, layers and the game-object temp list.
#include "Scene/Level.h"
#include "Scene/TempLists.h"
#include "Script/LuaFunctions.h"
#include "Script/ScriptErrorLog.h"
#include "Shell/Game.h"

namespace {

Layer* current_layer(int32_t index, const char* function) {
    Level* level = Game::instance().level.get();
    Layer* layer = level ? level->layer_at(index) : nullptr;
    if (!layer)
        ScriptErrorLog::missing(function, "layer", index);
    return layer;
}

}  // namespace

void LuaFunctions::create_level(float, float, float, float) {
    Game::instance().replace_level(std::make_unique<Level>());
}

void LuaFunctions::init_camera_binder(float min_x, float max_x, float min_y, float max_y) {
    Level* level = Game::instance().level.get();
    if (level)
        level->camera_binder = std::make_unique<CameraBinder>(min_x, max_x, min_y, max_y);
    else
        ScriptErrorLog::missing(__func__, "current level");
}

void LuaFunctions::camera_binder_mode(int32_t mode) {
    Level* level = Game::instance().level.get();
    if (!level || !level->camera_binder) {
        ScriptErrorLog::missing(__func__, "camera binder in the current level");
        return;
    }
    if (mode == CameraBinder::stop_at_edge || mode == CameraBinder::clamp_at_edge)
        level->camera_binder->clamp = mode == CameraBinder::clamp_at_edge;
}

void LuaFunctions::create_layer(float parallax_x, float parallax_y, int32_t blend) {
    Level* level = Game::instance().level.get();
    if (!level) {
        ScriptErrorLog::missing(__func__, "current level");
        return;
    }
    level->layers.push_back(
        std::make_unique<Layer>(Vector2{parallax_x, parallax_y},
                                blend == 1 ? BlendState::additive() : BlendState::alpha()));
}

void LuaFunctions::gameobject_upload(const std::string& name, int32_t layer_index, int32_t id) {
    Layer* layer = current_layer(layer_index, __func__);
    if (!layer)
        return;
    std::unique_ptr<GameObject> object = TempLists::instance().game_objects.take(name);
    if (!object) {
        ScriptErrorLog::missing(__func__, "object", name);
        return;
    }
    Level* level = Game::instance().level.get();
    object->id = id;
    level->add_object(*layer, std::move(object));
}

void LuaFunctions::remove_gameobject_from_layer(int32_t layer_index, int32_t id) {
    if (Layer* layer = current_layer(layer_index, __func__))
        if (!layer->remove_by_id(id))
            ScriptErrorLog::missing(__func__, "object with id", id);
}

void LuaFunctions::remove_gameobject(int32_t id) {
    Level* level = Game::instance().level.get();
    if (!level) {
        ScriptErrorLog::missing(__func__, "current level");
        return;
    }
    bool removed = false;
    for (const auto& layer : level->layers)
        removed = layer->remove_by_id(id) || removed;
    if (!removed)
        ScriptErrorLog::missing(__func__, "object with id", id);
}

void LuaFunctions::gameobject_remove_from_temp_list(const std::string& name) {
    TempList<GameObject>& objects = TempLists::instance().game_objects;
    if (!objects.contains(name))
        ScriptErrorLog::missing(__func__, "object", name);
    objects.forget(name);
}

void LuaFunctions::reset_all_extra_for_level_change() {
    Game::instance().reset_for_level_change();
}

void LuaFunctions::set_layer_freeze(int32_t layer_index, bool frozen) {
    if (Layer* layer = current_layer(layer_index, __func__))
        layer->frozen = frozen;
}

void LuaFunctions::set_layer_visibility(int32_t layer_index, bool visible) {
    if (Layer* layer = current_layer(layer_index, __func__))
        layer->visible = visible;
}

void LuaFunctions::layer_color(int32_t layer_index, float red, float green, float blue,
                               float alpha) {
    if (Layer* layer = current_layer(layer_index, __func__))
        layer->colour = {red, green, blue, alpha};
}

int32_t LuaFunctions::get_num_layers() {
    Level* level = Game::instance().level.get();
    return level ? level->layer_count() : 0;
}
