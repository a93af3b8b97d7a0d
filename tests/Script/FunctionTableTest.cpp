#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "Script/FunctionTable.h"

namespace {

struct Signature {
    const char* name;
    const char* args;    // n number, i integer, b boolean, s string
    const char* result;  // empty or one letter
};

// Every script function of the engine with its argument and result kinds.
const Signature all_functions[] = {
    {"set_game_state", "i", ""},
    {"get_game_state", "", "i"},
    {"draw_triggers", "b", ""},
    {"draw_segments", "b", ""},
    {"init_camera_binder", "nnnn", ""},
    {"get_camera_x", "", "n"},
    {"get_camera_y", "", "n"},
    {"init_texture", "ssiiii", ""},
    {"load_resource", "is", ""},
    {"init_subtexture", "ssnnnn", ""},
    {"init_animation", "sii", ""},
    {"animation_add_frame", "ssn", ""},
    {"init_font", "ssibb", ""},
    {"create_font", "snnnn", ""},
    {"add_letter_subtexture", "sss", ""},
    {"reset_all_extra_for_level_change", "", ""},
    {"remove_gameobject_from_layer", "ii", ""},
    {"remove_gameobject", "i", ""},
    {"gameobject_remove_from_temp_list", "s", ""},
    {"create_level", "nnnn", ""},
    {"create_layer", "nni", ""},
    {"gameobject_upload", "sii", ""},
    {"set_layer_freeze", "ib", ""},
    {"set_layer_visibility", "ib", ""},
    {"layer_color", "innnn", ""},
    {"get_num_layers", "", "i"},
    {"create_sprite", "sisnn", ""},
    {"sprite_shape", "sinn", ""},
    {"textured_sprite_tex_coords", "sinnnn", ""},
    {"scrolling_sprite", "sin", ""},
    {"sprite_rotation", "sn", ""},
    {"sprite_color", "snnnn", ""},
    {"remorfable_sprite", "ssnb", ""},
    {"add_key_frame", "nnnnn", ""},
    {"add_key_frame_color", "nnnn", ""},
    {"upload_key_frame", "s", ""},
    {"convert_to_hud", "s", ""},
    {"particle_start_color", "snnnn", ""},
    {"particle_end_color", "snnnn", ""},
    {"emitter_range", "snnnnnn", ""},
    {"emitter_scale", "sbnnnn", ""},
    {"emitter_particle_amount", "si", ""},
    {"emitter_angle", "sn", ""},
    {"emitter_timer_delay", "sn", ""},
    {"create_text", "ssnnnn", ""},
    {"text_color", "snnnn", ""},
    {"add_text", "ss", ""},
    {"shape_remove_from_temp_list", "s", ""},
    {"create_shape", "sinn", ""},
    {"shape_vertex", "sinn", ""},
    {"create_circle", "snnn", ""},
    {"circle_center", "snn", ""},
    {"circle_radius", "sn", ""},
    {"create_collider", "isnn", ""},
    {"create_segment", "nn", ""},
    {"create_segment_with_code", "nnnni", ""},
    {"add_segment", "nn", ""},
    {"add_segment_with_code", "nni", ""},
    {"upload_segmentstrip", "", ""},
    {"create_creature", "sissss", ""},
    {"creature_translation", "sinn", ""},
    {"creature_speed", "sin", ""},
    {"creature_jump", "sini", ""},
    {"creature_shape", "sinn", ""},
    {"creature_drag", "sins", ""},
    {"creature_gravity", "sin", ""},
    {"creature_color", "sinnnn", ""},
    {"creature_trigger", "sisi", ""},
    {"creature_sound", "siss", ""},
    {"creature_remove", "i", ""},
    {"upload_player_to_layer", "i", ""},
    {"add_player_trigger_to_manager", "", ""},
    {"creature_emitter", "ss", ""},
    {"player_state", "i", ""},
    {"get_player_x", "", "n"},
    {"get_player_y", "", "n"},
    {"add_input_listener", "is", ""},
    {"upload_controller", "i", ""},
    {"create_pathing_graph", "b", ""},
    {"add_pathing_graph_point", "nn", ""},
    {"create_ai", "ss", ""},
    {"set_hp", "nnnn", ""},
    {"set_death_effect", "snnnn", ""},
    {"damage", "nn", ""},
    {"create_trigger", "sissnn", ""},
    {"timed_trigger_repeat", "snb", ""},
    {"trigger_set_color", "snnnn", ""},
    {"trigger_shape", "sis", ""},
    {"trigger_add_group_i_belong_to", "sis", ""},
    {"trigger_add_group_can_use_me", "sis", ""},
    {"trigger_upload", "si", ""},
    {"create_door", "sssssib", ""},
    {"create_lever", "sssssb", ""},
    {"add_lever_door_signal", "ibib", ""},
    {"use_lever", "i", ""},
    {"create_hammer", "inni", ""},
    {"hammer_add_trigger", "is", ""},
    {"hammer_add_idle_pair", "inn", ""},
    {"hammer_add_speed_pair", "inn", ""},
    {"hammer_piston_locations", "innnn", ""},
    {"hammer_set_cylinder_animatedsprite", "is", ""},
    {"hammer_set_piston_animatedsprite", "is", ""},
    {"hammer_set_piston_angledifference", "in", ""},
    {"hammer_set_crankshaft_sprite", "is", ""},
    {"hammer_add_down_going_sound", "is", ""},
    {"hammer_add_up_going_sound", "is", ""},
    {"create_shooter", "inni", ""},
    {"shooter_set_idle_time", "inn", ""},
    {"shooter_set_bullet", "isi", ""},
    {"shooter_set_idle_animation", "is", ""},
    {"shooter_add_shooting_effect", "is", ""},
    {"create_bullet", "si", ""},
    {"bullet_set_trigger", "ss", ""},
    {"bullet_set_graphics", "ss", ""},
    {"bullet_set_flying_sound", "ss", ""},
    {"unstablefloor_create", "inni", ""},
    {"unstablefloor_segmentstrip", "ii", ""},
    {"unstablefloor_animations", "isss", ""},
    {"unstablefloor_audio", "isss", ""},
    {"set_master_volume", "n", ""},
    {"set_music_volume", "n", ""},
    {"set_sfx_volume", "n", ""},
    {"play_sfx", "s", ""},
    {"add_music", "s", ""},
    {"reset_music", "", ""},
    {"remove_music", "s", ""},
    {"set_audio_pause", "b", ""},
    {"is_audio_paused", "", "b"},
    {"create_sound", "ssnnn", ""},
    {"create_sound_effect", "ssnb", ""},
    {"create_music", "ss", ""},
    {"create_sound_variety_collection", "snnn", ""},
    {"add_sound_to_variety_collection", "ss", ""},
    {"remove_sound_from_sounds_temp", "s", ""},
    {"do_file", "s", ""},
    {"create_button", "ssssss", ""},
    {"button_dependencies", "sssss", ""},
    {"add_vk_pair", "is", ""},
    {"set_focused_button", "s", ""},
    {"new_dialog", "iinnn", ""},
    {"new_frame", "ii", ""},
    {"frame_add_script", "s", ""},
    {"set_line_settings_1", "iiiis", ""},
    {"set_line_settings_2", "innnnnn", ""},
    {"new_line", "innnni", ""},
    {"add_line_text", "s", ""},
    {"add_question_option", "si", ""},
    {"upload_line", "", ""},
    {"upload_question", "", ""},
    {"upload_frame", "", ""},
    {"create_dialog_font", "siiii", ""},
    {"get_level_name", "i", "s"},
    {"points_reset", "ii", ""},
    {"add_points", "i", ""},
    {"add_point_level", "si", ""},
    {"level_name", "", "s"},
    {"set_level_name", "s", ""},
    {"get_points", "", "i"},
    {"get_timed_points", "", "i"},
    {"get_time", "", "i"},
    {"timer_start", "", ""},
    {"timer_stop", "", ""},
    {"set_point_settings", "ii", ""},
    {"get_combo", "", "i"},
    {"get_max_combo", "", "i"},
    {"get_combo_multiplier", "", "i"},
};

// Engine extensions, registered in the same table.
const Signature pad_extension[] = {
    {"pad_map", "si", ""},
    {"pad_count", "", "i"},
};

// The other engine extensions.
const Signature engine_extensions[] = {
    {"camera_set_position", "nn", ""}, {"camera_binder_mode", "i", ""},
    {"set_frame_script", "s", ""},     {"get_frame_number", "", "i"},
    {"text_replace", "iis", ""},       {"get_text_width", "ssn", "n"},
    {"get_text_height", "ssn", "n"},   {"trigger_remove", "i", ""},
    {"get_player_hp", "", "n"},        {"get_player_max_hp", "", "n"},
    {"emitter_burst", "si", ""},
};

// Tiled maps.
const Signature map_extensions[] = {
    {"map_load", "snn", "b"},   {"map_load_scaled", "snnn", "b"},   {"map_layer", "s", "i"},
    {"map_property", "s", "s"}, {"map_object_property", "ss", "s"}, {"map_has_spawn", "s", "b"},
    {"map_spawn_x", "s", "n"},  {"map_spawn_y", "s", "n"},
};

}  // namespace

TEST(FunctionTable, EveryRegisteredFunctionHasItsKindsAndNoNameTwice) {
    std::map<std::string, const Signature*> expected;
    for (const Signature& s : all_functions)
        expected[s.name] = &s;
    ASSERT_EQ(expected.size(), 166u);
    ASSERT_EQ(core_function_count, expected.size());
    const std::vector<MethodEntry>& table = function_table();
    ASSERT_GE(table.size(), core_function_count);

    // The core block holds exactly the core functions, each with its kinds.
    std::map<std::string, int> seen;
    for (size_t i = 0; i < core_function_count; ++i) {
        const MethodEntry& entry = table[i];
        ++seen[entry.name];
        auto it = expected.find(entry.name);
        ASSERT_NE(it, expected.end()) << "unknown script function " << entry.name;
        EXPECT_EQ(entry.args, it->second->args) << entry.name;
        EXPECT_EQ(entry.result, it->second->result) << entry.name;
    }
    EXPECT_EQ(seen.size(), expected.size());
    // Extensions come after it, each with its kinds and under a name of its own; the script
    // reference checks that each is documented as an extension.
    std::map<std::string, const Signature*> extensions;
    for (const Signature& s : pad_extension)
        extensions[s.name] = &s;
    for (const Signature& s : engine_extensions)
        extensions[s.name] = &s;
    for (const Signature& s : map_extensions)
        extensions[s.name] = &s;
    for (size_t i = core_function_count; i < table.size(); ++i) {
        const MethodEntry& entry = table[i];
        ++seen[entry.name];
        EXPECT_FALSE(expected.count(entry.name)) << entry.name << " is a core function";
        auto it = extensions.find(entry.name);
        ASSERT_NE(it, extensions.end()) << "unknown extension " << entry.name;
        EXPECT_EQ(entry.args, it->second->args) << entry.name;
        EXPECT_EQ(entry.result, it->second->result) << entry.name;
    }
    EXPECT_EQ(seen.size(), expected.size() + extensions.size());
    for (auto& [name, count] : seen)
        EXPECT_EQ(count, 1) << name;
}

TEST(FunctionTable, FunctionsOfTheBuiltSubsystemsAreRegistered) {
    std::map<std::string, bool> registered;
    for (const MethodEntry& entry : function_table())
        registered[entry.name] = true;
    for (const char* name : {"set_game_state",
                             "get_game_state",
                             "draw_triggers",
                             "draw_segments",
                             "get_camera_x",
                             "get_camera_y",
                             "init_texture",
                             "load_resource",
                             "init_subtexture",
                             "init_animation",
                             "animation_add_frame",
                             "do_file",
                             "reset_all_extra_for_level_change",
                             "remove_gameobject_from_layer",
                             "remove_gameobject",
                             "gameobject_remove_from_temp_list",
                             "create_level",
                             "create_layer",
                             "gameobject_upload",
                             "set_layer_freeze",
                             "set_layer_visibility",
                             "layer_color",
                             "get_num_layers",
                             "init_camera_binder",
                             "create_sprite",
                             "sprite_shape",
                             "textured_sprite_tex_coords",
                             "scrolling_sprite",
                             "sprite_rotation",
                             "sprite_color",
                             "remorfable_sprite",
                             "add_key_frame",
                             "add_key_frame_color",
                             "upload_key_frame",
                             "convert_to_hud",
                             "shape_remove_from_temp_list",
                             "create_shape",
                             "shape_vertex",
                             "create_circle",
                             "circle_center",
                             "circle_radius",
                             "create_collider",
                             "create_segment",
                             "create_segment_with_code",
                             "add_segment",
                             "add_segment_with_code",
                             "upload_segmentstrip",
                             "create_trigger",
                             "timed_trigger_repeat",
                             "trigger_set_color",
                             "trigger_shape",
                             "trigger_add_group_i_belong_to",
                             "trigger_add_group_can_use_me",
                             "trigger_upload",
                             "set_master_volume",
                             "set_music_volume",
                             "set_sfx_volume",
                             "play_sfx",
                             "add_music",
                             "reset_music",
                             "remove_music",
                             "set_audio_pause",
                             "is_audio_paused",
                             "create_sound",
                             "create_sound_effect",
                             "create_music",
                             "create_sound_variety_collection",
                             "add_sound_to_variety_collection",
                             "remove_sound_from_sounds_temp",
                             "add_input_listener",
                             "upload_controller",
                             "create_button",
                             "button_dependencies",
                             "add_vk_pair",
                             "set_focused_button",
                             "particle_start_color",
                             "particle_end_color",
                             "emitter_range",
                             "emitter_scale",
                             "emitter_particle_amount",
                             "emitter_angle",
                             "emitter_timer_delay",
                             "get_level_name",
                             "points_reset",
                             "add_points",
                             "add_point_level",
                             "level_name",
                             "set_level_name",
                             "get_points",
                             "get_timed_points",
                             "get_time",
                             "timer_start",
                             "timer_stop",
                             "set_point_settings",
                             "get_combo",
                             "get_max_combo",
                             "get_combo_multiplier"})
        EXPECT_TRUE(registered[name]) << name;
}
