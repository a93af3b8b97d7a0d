// Script functions of levels, layers and the game-object temp list.
#include "Scene/Level.h"
#include "Scene/TempLists.h"
#include "Script/LuaFunctions.h"
#include "Shell/Game.h"

namespace {

Layer* current_layer(int32_t index) {
    Level* level = Game::instance().level.get();
    return level ? level->layer_at(index) : nullptr;
}

}  // namespace

void LuaFunctions::create_level(float, float, float, float) {
    Game::instance().replace_level(std::make_unique<Level>());
}

void LuaFunctions::init_camera_binder(float min_x, float max_x, float min_y, float max_y) {
    Level* level = Game::instance().level.get();
    if (level)
        level->camera_binder = std::make_unique<CameraBinder>(min_x, max_x, min_y, max_y);
}

void LuaFunctions::create_layer(float parallax_x, float parallax_y, int32_t blend) {
    Level* level = Game::instance().level.get();
    if (!level)
        return;
    level->layers.push_back(
        std::make_unique<Layer>(Vector2{parallax_x, parallax_y},
                                blend == 1 ? BlendState::additive() : BlendState::alpha()));
}

void LuaFunctions::gameobject_upload(const std::string& name, int32_t layer_index, int32_t id) {
    Level* level = Game::instance().level.get();
    Layer* layer = level ? level->layer_at(layer_index) : nullptr;
    if (!layer)
        return;
    std::unique_ptr<GameObject> object = TempLists::instance().game_objects.take(name);
    if (!object)
        return;
    object->id = id;
    level->add_object(*layer, std::move(object));
}

void LuaFunctions::remove_gameobject_from_layer(int32_t layer_index, int32_t id) {
    if (Layer* layer = current_layer(layer_index))
        layer->remove_by_id(id);
}

void LuaFunctions::remove_gameobject(int32_t id) {
    Level* level = Game::instance().level.get();
    if (!level)
        return;
    for (const auto& layer : level->layers)
        layer->remove_by_id(id);
}

void LuaFunctions::gameobject_remove_from_temp_list(const std::string& name) {
    TempLists::instance().game_objects.forget(name);
}

void LuaFunctions::reset_all_extra_for_level_change() {
    Game::instance().reset_for_level_change();
}

void LuaFunctions::set_layer_freeze(int32_t layer_index, bool frozen) {
    if (Layer* layer = current_layer(layer_index))
        layer->frozen = frozen;
}

void LuaFunctions::set_layer_visibility(int32_t layer_index, bool visible) {
    if (Layer* layer = current_layer(layer_index))
        layer->visible = visible;
}

void LuaFunctions::layer_color(int32_t layer_index, float red, float green, float blue,
                               float alpha) {
    if (Layer* layer = current_layer(layer_index))
        layer->colour = {red, green, blue, alpha};
}

int32_t LuaFunctions::get_num_layers() {
    Level* level = Game::instance().level.get();
    return level ? level->layer_count() : 0;
}
