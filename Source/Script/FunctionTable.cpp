#include "Script/FunctionTable.h"

const std::vector<MethodEntry>& function_table() {
    static const std::vector<MethodEntry> table = {
        // Game state and debug switches.
        {"set_game_state", &LuaFunctions::set_game_state},
        {"get_game_state", &LuaFunctions::get_game_state},
        {"draw_triggers", &LuaFunctions::draw_triggers},
        {"draw_segments", &LuaFunctions::draw_segments},

        // Camera.
        {"init_camera_binder", &LuaFunctions::init_camera_binder},
        {"get_camera_x", &LuaFunctions::get_camera_x},
        {"get_camera_y", &LuaFunctions::get_camera_y},

        // Textures, sub-textures and animations.
        {"init_texture", &LuaFunctions::init_texture},
        {"load_resource", &LuaFunctions::load_resource},
        {"init_subtexture", &LuaFunctions::init_subtexture},
        {"init_animation", &LuaFunctions::init_animation},
        {"animation_add_frame", &LuaFunctions::animation_add_frame},

        // Fonts.
        {"init_font", &LuaFunctions::init_font},
        {"create_font", &LuaFunctions::create_font},
        {"add_letter_subtexture", &LuaFunctions::add_letter_subtexture},

        // Levels, layers and game objects.
        {"reset_all_extra_for_level_change", &LuaFunctions::reset_all_extra_for_level_change},
        {"remove_gameobject_from_layer", &LuaFunctions::remove_gameobject_from_layer},
        {"remove_gameobject", &LuaFunctions::remove_gameobject},
        {"gameobject_remove_from_temp_list", &LuaFunctions::gameobject_remove_from_temp_list},
        {"create_level", &LuaFunctions::create_level},
        {"create_layer", &LuaFunctions::create_layer},
        {"gameobject_upload", &LuaFunctions::gameobject_upload},
        {"set_layer_freeze", &LuaFunctions::set_layer_freeze},
        {"set_layer_visibility", &LuaFunctions::set_layer_visibility},
        {"layer_color", &LuaFunctions::layer_color},
        {"get_num_layers", &LuaFunctions::get_num_layers},

        // Sprites.
        {"create_sprite", &LuaFunctions::create_sprite},
        {"sprite_shape", &LuaFunctions::sprite_shape},
        {"textured_sprite_tex_coords", &LuaFunctions::textured_sprite_tex_coords},
        {"scrolling_sprite", &LuaFunctions::scrolling_sprite},
        {"sprite_rotation", &LuaFunctions::sprite_rotation},
        {"sprite_color", &LuaFunctions::sprite_color},
        {"remorfable_sprite", &LuaFunctions::remorfable_sprite},
        {"add_key_frame", &LuaFunctions::add_key_frame},
        {"add_key_frame_color", &LuaFunctions::add_key_frame_color},
        {"upload_key_frame", &LuaFunctions::upload_key_frame},
        {"convert_to_hud", &LuaFunctions::convert_to_hud},

        // Particles and emitters.
        {"particle_start_color", &LuaFunctions::particle_start_color},
        {"particle_end_color", &LuaFunctions::particle_end_color},
        {"emitter_range", &LuaFunctions::emitter_range},
        {"emitter_scale", &LuaFunctions::emitter_scale},
        {"emitter_particle_amount", &LuaFunctions::emitter_particle_amount},
        {"emitter_angle", &LuaFunctions::emitter_angle},
        {"emitter_timer_delay", &LuaFunctions::emitter_timer_delay},
        // Text objects.
        {"create_text", &LuaFunctions::create_text},
        {"text_color", &LuaFunctions::text_color},
        {"add_text", &LuaFunctions::add_text},

        // Shapes and colliders.
        {"shape_remove_from_temp_list", &LuaFunctions::shape_remove_from_temp_list},
        {"create_shape", &LuaFunctions::create_shape},
        {"shape_vertex", &LuaFunctions::shape_vertex},
        {"create_circle", &LuaFunctions::create_circle},
        {"circle_center", &LuaFunctions::circle_center},
        {"circle_radius", &LuaFunctions::circle_radius},
        {"create_collider", &LuaFunctions::create_collider},

        // Segment strips.
        {"create_segment", &LuaFunctions::create_segment},
        {"create_segment_with_code", &LuaFunctions::create_segment_with_code},
        {"add_segment", &LuaFunctions::add_segment},
        {"add_segment_with_code", &LuaFunctions::add_segment_with_code},
        {"upload_segmentstrip", &LuaFunctions::upload_segmentstrip},

        // Creatures and the player.
        {"create_creature", &LuaFunctions::create_creature},
        {"creature_translation", &LuaFunctions::creature_translation},
        {"creature_speed", &LuaFunctions::creature_speed},
        {"creature_jump", &LuaFunctions::creature_jump},
        {"creature_shape", &LuaFunctions::creature_shape},
        {"creature_drag", &LuaFunctions::creature_drag},
        {"creature_gravity", &LuaFunctions::creature_gravity},
        {"creature_color", &LuaFunctions::creature_color},
        {"creature_trigger", &LuaFunctions::creature_trigger},
        {"creature_sound", &LuaFunctions::creature_sound},
        {"creature_remove", &LuaFunctions::creature_remove},
        {"upload_player_to_layer", &LuaFunctions::upload_player_to_layer},
        {"add_player_trigger_to_manager", &LuaFunctions::add_player_trigger_to_manager},
        {"creature_emitter", &LuaFunctions::creature_emitter},
        {"player_state", &LuaFunctions::player_state},
        {"get_player_x", &LuaFunctions::get_player_x},
        {"get_player_y", &LuaFunctions::get_player_y},

        // Triggers.
        {"create_trigger", &LuaFunctions::create_trigger},
        {"timed_trigger_repeat", &LuaFunctions::timed_trigger_repeat},
        {"trigger_set_color", &LuaFunctions::trigger_set_color},
        {"trigger_shape", &LuaFunctions::trigger_shape},
        {"trigger_add_group_i_belong_to", &LuaFunctions::trigger_add_group_i_belong_to},
        {"trigger_add_group_can_use_me", &LuaFunctions::trigger_add_group_can_use_me},
        {"trigger_upload", &LuaFunctions::trigger_upload},
        // Doors and levers.
        {"create_door", &LuaFunctions::create_door},
        {"create_lever", &LuaFunctions::create_lever},
        {"add_lever_door_signal", &LuaFunctions::add_lever_door_signal},
        {"use_lever", &LuaFunctions::use_lever},
        // Hammers, shooters and bullets.
        {"create_hammer", &LuaFunctions::create_hammer},
        {"hammer_add_trigger", &LuaFunctions::hammer_add_trigger},
        {"hammer_add_idle_pair", &LuaFunctions::hammer_add_idle_pair},
        {"hammer_add_speed_pair", &LuaFunctions::hammer_add_speed_pair},
        {"hammer_piston_locations", &LuaFunctions::hammer_piston_locations},
        {"hammer_set_cylinder_animatedsprite", &LuaFunctions::hammer_set_cylinder_animatedsprite},
        {"hammer_set_piston_animatedsprite", &LuaFunctions::hammer_set_piston_animatedsprite},
        {"hammer_set_piston_angledifference", &LuaFunctions::hammer_set_piston_angledifference},
        {"hammer_set_crankshaft_sprite", &LuaFunctions::hammer_set_crankshaft_sprite},
        {"hammer_add_down_going_sound", &LuaFunctions::hammer_add_down_going_sound},
        {"hammer_add_up_going_sound", &LuaFunctions::hammer_add_up_going_sound},
        {"create_shooter", &LuaFunctions::create_shooter},
        {"shooter_set_idle_time", &LuaFunctions::shooter_set_idle_time},
        {"shooter_set_bullet", &LuaFunctions::shooter_set_bullet},
        {"shooter_set_idle_animation", &LuaFunctions::shooter_set_idle_animation},
        {"shooter_add_shooting_effect", &LuaFunctions::shooter_add_shooting_effect},
        {"create_bullet", &LuaFunctions::create_bullet},
        {"bullet_set_trigger", &LuaFunctions::bullet_set_trigger},
        {"bullet_set_graphics", &LuaFunctions::bullet_set_graphics},
        {"bullet_set_flying_sound", &LuaFunctions::bullet_set_flying_sound},
        // Unstable floors.
        {"unstablefloor_create", &LuaFunctions::unstablefloor_create},
        {"unstablefloor_segmentstrip", &LuaFunctions::unstablefloor_segmentstrip},
        {"unstablefloor_animations", &LuaFunctions::unstablefloor_animations},
        {"unstablefloor_audio", &LuaFunctions::unstablefloor_audio},
        // Music and sounds.
        {"set_master_volume", &LuaFunctions::set_master_volume},
        {"set_music_volume", &LuaFunctions::set_music_volume},
        {"set_sfx_volume", &LuaFunctions::set_sfx_volume},
        {"play_sfx", &LuaFunctions::play_sfx},
        {"add_music", &LuaFunctions::add_music},
        {"reset_music", &LuaFunctions::reset_music},
        {"remove_music", &LuaFunctions::remove_music},
        {"set_audio_pause", &LuaFunctions::set_audio_pause},
        {"is_audio_paused", &LuaFunctions::is_audio_paused},
        {"create_sound", &LuaFunctions::create_sound},
        {"create_sound_effect", &LuaFunctions::create_sound_effect},
        {"create_music", &LuaFunctions::create_music},
        {"create_sound_variety_collection", &LuaFunctions::create_sound_variety_collection},
        {"add_sound_to_variety_collection", &LuaFunctions::add_sound_to_variety_collection},
        {"remove_sound_from_sounds_temp", &LuaFunctions::remove_sound_from_sounds_temp},
        // Controllers.
        {"add_input_listener", &LuaFunctions::add_input_listener},
        {"upload_controller", &LuaFunctions::upload_controller},
        // AI, pathing graph and damage.
        {"create_pathing_graph", &LuaFunctions::create_pathing_graph},
        {"add_pathing_graph_point", &LuaFunctions::add_pathing_graph_point},
        {"create_ai", &LuaFunctions::create_ai},
        {"set_hp", &LuaFunctions::set_hp},
        {"set_death_effect", &LuaFunctions::set_death_effect},
        {"damage", &LuaFunctions::damage},

        // Nested scripts.
        {"do_file", &LuaFunctions::do_file},

        // Key pairs, buttons and menu focus.
        {"create_button", &LuaFunctions::create_button},
        {"button_dependencies", &LuaFunctions::button_dependencies},
        {"add_vk_pair", &LuaFunctions::add_vk_pair},
        {"set_focused_button", &LuaFunctions::set_focused_button},
        // Points, combos and the level timer.
        {"get_level_name", &LuaFunctions::get_level_name},
        {"points_reset", &LuaFunctions::points_reset},
        {"add_points", &LuaFunctions::add_points},
        {"add_point_level", &LuaFunctions::add_point_level},
        {"level_name", &LuaFunctions::level_name},
        {"set_level_name", &LuaFunctions::set_level_name},
        {"get_points", &LuaFunctions::get_points},
        {"get_timed_points", &LuaFunctions::get_timed_points},
        {"get_time", &LuaFunctions::get_time},
        {"timer_start", &LuaFunctions::timer_start},
        {"timer_stop", &LuaFunctions::timer_stop},
        {"set_point_settings", &LuaFunctions::set_point_settings},
        {"get_combo", &LuaFunctions::get_combo},
        {"get_max_combo", &LuaFunctions::get_max_combo},
        {"get_combo_multiplier", &LuaFunctions::get_combo_multiplier},
        // Dialogs.
        {"new_dialog", &LuaFunctions::new_dialog},
        {"new_frame", &LuaFunctions::new_frame},
        {"frame_add_script", &LuaFunctions::frame_add_script},
        {"set_line_settings_1", &LuaFunctions::set_line_settings_1},
        {"set_line_settings_2", &LuaFunctions::set_line_settings_2},
        {"new_line", &LuaFunctions::new_line},
        {"add_line_text", &LuaFunctions::add_line_text},
        {"add_question_option", &LuaFunctions::add_question_option},
        {"upload_line", &LuaFunctions::upload_line},
        {"upload_question", &LuaFunctions::upload_question},
        {"upload_frame", &LuaFunctions::upload_frame},
        {"create_dialog_font", &LuaFunctions::create_dialog_font},

        // ---- Engine extensions, after the core functions (core_function_count). ----
        // The camera and its binder.
        {"camera_set_position", &LuaFunctions::camera_set_position},
        {"camera_binder_mode", &LuaFunctions::camera_binder_mode},
        // The frame script and the frame counter.
        {"set_frame_script", &LuaFunctions::set_frame_script},
        {"get_frame_number", &LuaFunctions::get_frame_number},
        // Text objects and measuring text.
        {"text_replace", &LuaFunctions::text_replace},
        {"get_text_width", &LuaFunctions::get_text_width},
        {"get_text_height", &LuaFunctions::get_text_height},
        // Triggers.
        {"trigger_remove", &LuaFunctions::trigger_remove},
        // The player's health.
        {"get_player_hp", &LuaFunctions::get_player_hp},
        {"get_player_max_hp", &LuaFunctions::get_player_max_hp},
        // Particles.
        {"emitter_burst", &LuaFunctions::emitter_burst},
        // Extension: game controllers.
        {"pad_map", &LuaFunctions::pad_map},
        {"pad_count", &LuaFunctions::pad_count},
        // Tiled maps.
        {"map_load", &LuaFunctions::map_load},
        {"map_load_scaled", &LuaFunctions::map_load_scaled},
        {"map_layer", &LuaFunctions::map_layer},
        {"map_property", &LuaFunctions::map_property},
        {"map_object_property", &LuaFunctions::map_object_property},
        {"map_has_spawn", &LuaFunctions::map_has_spawn},
        {"map_spawn_x", &LuaFunctions::map_spawn_x},
        {"map_spawn_y", &LuaFunctions::map_spawn_y},
    };
    return table;
}
