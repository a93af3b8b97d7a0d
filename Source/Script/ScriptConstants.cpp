#include "Script/ScriptConstants.h"

#include <string>

#include <lua.hpp>

#include "Platform/VirtualKeys.h"

namespace {

std::vector<ScriptConstants::Constant> make_constants() {
    std::vector<ScriptConstants::Constant> c = {
        // set_game_state, get_game_state
        {"state", "RUNNING", 0},
        {"state", "MENU", 1},
        {"state", "FROZEN", 2},
        {"state", "QUIT", 3},
        {"state", "DIALOG", 4},
        // load_resource
        {"resource", "TEXTURE", 0},
        {"resource", "FONT", 1},
        // init_texture
        {"wrap", "CLAMP", 0},
        {"wrap", "REPEAT", 1},
        {"environment", "MODULATE", 0},
        {"environment", "DECAL", 1},
        // init_animation
        {"loop", "RESTART", 0},
        {"loop", "STOP", 1},
        {"loop", "PING_PONG", 2},
        {"direction", "FORWARD", 0},
        {"direction", "BACKWARD", 1},
        // create_layer
        {"blend", "ALPHA", 0},
        {"blend", "ADDITIVE", 1},
        // create_sprite, sprite_shape, textured_sprite_tex_coords
        {"sprite", "TEXTURED", 0},
        {"sprite", "ANIMATED", 1},
        {"sprite", "TEXTURED_PARTICLE", 2},
        {"sprite", "EMITTER", 3},
        {"sprite", "SCROLLING", 4},
        {"sprite", "ANIMATED_PARTICLE", 5},
        // scrolling_sprite
        {"scroll", "NONE", 0},
        {"scroll", "HORIZONTAL", 1},
        {"scroll", "VERTICAL", 2},
        // create_shape
        {"shape", "TRIANGLE", 0},
        {"shape", "POLYGON", 1},
        {"shape", "REGULAR", 2},
        {"shape", "BOX", 3},
        // create_trigger and the trigger functions that take a kind
        {"trigger", "GATE", 0},
        {"trigger", "USE", 1},
        {"trigger", "TIMED", 2},
        // create_creature and the creature functions that take a kind
        {"creature", "PLAYER", 0},
        {"creature", "NAMED", 2},
        // player_state
        {"player_state", "DEAD", 0},
        // add_input_listener
        {"listener", "UP", 0},
        {"listener", "DOWN", 1},
        {"listener", "LEFT", 2},
        {"listener", "RIGHT", 3},
        {"listener", "ACTION", 4},
        // upload_controller
        {"controller", "MENU", 0},
        {"controller", "PLAYER", 1},
        // set_line_settings_1, set_line_settings_2, new_line
        {"dialog", "LINE", 0},
        {"dialog", "QUESTION", 1},
        // new_frame, add_question_option: a frame id that ends the dialog
        {"dialog", "END", -1},
        {"anchor_x", "CENTER", 0},
        {"anchor_x", "LEFT", 1},
        {"anchor_x", "RIGHT", 2},
        {"anchor_y", "CENTER", 0},
        {"anchor_y", "BOTTOM", 1},
        {"anchor_y", "TOP", 2},
        {"align", "CENTER", 0},
        {"align", "LEFT", 1},
        {"align", "RIGHT", 2},
        // camera_binder_mode
        {"camera_binder", "STOP", 0},
        {"camera_binder", "CLAMP", 1},
        // add_vk_pair: virtual-key codes
        {"key", "BACKSPACE", vk::back},
        {"key", "TAB", vk::tab},
        {"key", "ENTER", vk::enter},
        {"key", "SHIFT", vk::shift},
        {"key", "CONTROL", vk::control},
        {"key", "ALT", vk::alt},
        {"key", "PAUSE", vk::pause},
        {"key", "ESCAPE", vk::escape},
        {"key", "SPACE", vk::space},
        {"key", "PAGE_UP", vk::page_up},
        {"key", "PAGE_DOWN", vk::page_down},
        {"key", "END", vk::end},
        {"key", "HOME", vk::home},
        {"key", "LEFT", vk::left},
        {"key", "UP", vk::up},
        {"key", "RIGHT", vk::right},
        {"key", "DOWN", vk::down},
        {"key", "INSERT", vk::insert},
        {"key", "DELETE", vk::del},
    };
    // Letters A to Z, digits DIGIT_0 to DIGIT_9, the number pad and F1 to F12.
    auto add = [&](std::string name, int32_t value) {
        c.push_back({"key", std::move(name), value});
    };
    for (char l = 'A'; l <= 'Z'; ++l)
        add(std::string(1, l), l);
    for (int d = 0; d <= 9; ++d)
        add("DIGIT_" + std::to_string(d), '0' + d);
    for (int d = 0; d <= 9; ++d)
        add("NUMPAD_" + std::to_string(d), vk::numpad0 + d);
    for (int f = 1; f <= 12; ++f)
        add("F" + std::to_string(f), vk::f1 + f - 1);
    return c;
}

}  // namespace

const std::vector<ScriptConstants::Constant>& ScriptConstants::all() {
    static const std::vector<Constant> constants = make_constants();
    return constants;
}

void ScriptConstants::declare(lua_State* L) {
    lua_newtable(L);
    const std::string* family = nullptr;
    std::string current;
    for (const Constant& c : all()) {
        if (!family || current != c.family) {
            if (family)
                lua_setfield(L, -2, current.c_str());
            current = c.family;
            family = &current;
            lua_getfield(L, -1, c.family);
            if (lua_isnil(L, -1)) {
                lua_pop(L, 1);
                lua_newtable(L);
            }
        }
        lua_pushinteger(L, c.value);
        lua_setfield(L, -2, c.name.c_str());
    }
    if (family)
        lua_setfield(L, -2, current.c_str());
    lua_setglobal(L, table_name);
}
