#include "Script/FunctionTable.h"

const std::vector<MethodEntry>& function_table() {
    static const std::vector<MethodEntry> table = {
        // Game state and debug switches.
        {"set_game_state", &LuaFunctions::set_game_state},
        {"get_game_state", &LuaFunctions::get_game_state},
        {"draw_triggers", &LuaFunctions::draw_triggers},
        {"draw_segments", &LuaFunctions::draw_segments},

        // Camera.
        {"get_camera_x", &LuaFunctions::get_camera_x},
        {"get_camera_y", &LuaFunctions::get_camera_y},

        // Textures, sub-textures and animations.
        {"init_texture", &LuaFunctions::init_texture},
        {"load_resource", &LuaFunctions::load_resource},
        {"init_subtexture", &LuaFunctions::init_subtexture},
        {"init_animation", &LuaFunctions::init_animation},
        {"animation_add_frame", &LuaFunctions::animation_add_frame},

        // Nested scripts.
        {"do_file", &LuaFunctions::do_file},
    };
    return table;
}
