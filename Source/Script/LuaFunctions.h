#pragma once

#include <cstdint>
#include <string>

// The one class scripts see. It has no data: every method acts on the process-wide Game, the
// temp lists and the registries, never on the instance it is called on. Each family of methods
// is defined beside the subsystem it drives (for example Scene/SpriteFunctions.cpp); the
// registration table is Script/FunctionTable.cpp.
//
// Argument kinds follow the C++ types: float is a number, int32_t an integer, bool a boolean,
// std::string a string. A string result is engine-owned text, or null for nil.
class LuaFunctions {
  public:
    // Game state and debug switches.
    void set_game_state(int32_t);
    int32_t get_game_state();
    void draw_triggers(bool);
    void draw_segments(bool);

    // Camera.
    void init_camera_binder(float, float, float, float);
    float get_camera_x();
    float get_camera_y();

    // Textures, sub-textures and animations.
    void init_texture(const std::string&, const std::string&, int32_t, int32_t, int32_t, int32_t);
    void load_resource(int32_t, const std::string&);
    void init_subtexture(const std::string&, const std::string&, float, float, float, float);
    void init_animation(const std::string&, int32_t, int32_t);
    void animation_add_frame(const std::string&, const std::string&, float);

    // Fonts.
    void init_font(const std::string&, const std::string&, int32_t, bool, bool);
    void create_font(const std::string&, float, float, float, float);
    void add_letter_subtexture(const std::string&, const std::string&, const std::string&);

    // Levels, layers and game objects.
    void reset_all_extra_for_level_change();
    void remove_gameobject_from_layer(int32_t, int32_t);
    void remove_gameobject(int32_t);
    void gameobject_remove_from_temp_list(const std::string&);
    void create_level(float, float, float, float);
    void create_layer(float, float, int32_t);
    void gameobject_upload(const std::string&, int32_t, int32_t);
    void set_layer_freeze(int32_t, bool);
    void set_layer_visibility(int32_t, bool);
    void layer_color(int32_t, float, float, float, float);
    int32_t get_num_layers();

    // Sprites.
    void create_sprite(const std::string&, int32_t, const std::string&, float, float);
    void sprite_shape(const std::string&, int32_t, float, float);
    void textured_sprite_tex_coords(const std::string&, int32_t, float, float, float, float);
    void scrolling_sprite(const std::string&, int32_t, float);
    void sprite_rotation(const std::string&, float);
    void sprite_color(const std::string&, float, float, float, float);
    void remorfable_sprite(const std::string&, const std::string&, float, bool);
    void add_key_frame(float, float, float, float, float);
    void add_key_frame_color(float, float, float, float);
    void upload_key_frame(const std::string&);
    void convert_to_hud(const std::string&);

    // Particles and emitters.
    void particle_start_color(const std::string&, float, float, float, float);
    void particle_end_color(const std::string&, float, float, float, float);
    void emitter_range(const std::string&, float, float, float, float, float, float);
    void emitter_scale(const std::string&, bool, float, float, float, float);
    void emitter_particle_amount(const std::string&, int32_t);
    void emitter_angle(const std::string&, float);
    void emitter_timer_delay(const std::string&, float);

    // Text objects.
    void create_text(const std::string&, const std::string&, float, float, float, float);
    void text_color(const std::string&, float, float, float, float);
    void add_text(const std::string&, const std::string&);

    // Shapes and colliders.
    void shape_remove_from_temp_list(const std::string&);
    void create_shape(const std::string&, int32_t, float, float);
    void shape_vertex(const std::string&, int32_t, float, float);
    void create_circle(const std::string&, float, float, float);
    void circle_center(const std::string&, float, float);
    void circle_radius(const std::string&, float);
    void create_collider(int32_t, const std::string&, float, float);

    // Segment strips.
    void create_segment(float, float);
    void create_segment_with_code(float, float, float, float, int32_t);
    void add_segment(float, float);
    void add_segment_with_code(float, float, int32_t);
    void upload_segmentstrip();

    // Creatures and the player.
    void create_creature(const std::string&, int32_t, const std::string&, const std::string&,
                         const std::string&, const std::string&);
    void creature_translation(const std::string&, int32_t, float, float);
    void creature_speed(const std::string&, int32_t, float);
    void creature_jump(const std::string&, int32_t, float, int32_t);
    void creature_shape(const std::string&, int32_t, float, float);
    void creature_drag(const std::string&, int32_t, float, const std::string&);
    void creature_gravity(const std::string&, int32_t, float);
    void creature_color(const std::string&, int32_t, float, float, float, float);
    void creature_trigger(const std::string&, int32_t, const std::string&, int32_t);
    void creature_sound(const std::string&, int32_t, const std::string&, const std::string&);
    void creature_remove(int32_t);
    void upload_player_to_layer(int32_t);
    void add_player_trigger_to_manager();
    void creature_emitter(const std::string&, const std::string&);
    void player_state(int32_t);
    float get_player_x();
    float get_player_y();

    // Controllers.
    void add_input_listener(int32_t, const std::string&);
    void upload_controller(int32_t);

    // AI, pathing graph and damage.
    void create_pathing_graph(bool);
    void add_pathing_graph_point(float, float);
    void create_ai(const std::string&, const std::string&);
    void set_hp(float, float, float, float);
    void set_death_effect(const std::string&, float, float, float, float);
    void damage(float, float);

    // Triggers.
    void create_trigger(const std::string&, int32_t, const std::string&, const std::string&, float,
                        float);
    void timed_trigger_repeat(const std::string&, float, bool);
    void trigger_set_color(const std::string&, float, float, float, float);
    void trigger_shape(const std::string&, int32_t, const std::string&);
    void trigger_add_group_i_belong_to(const std::string&, int32_t, const std::string&);
    void trigger_add_group_can_use_me(const std::string&, int32_t, const std::string&);
    void trigger_upload(const std::string&, int32_t);

    // Doors and levers.
    void create_door(const std::string&, const std::string&, const std::string&, const std::string&,
                     const std::string&, int32_t, bool);
    void create_lever(const std::string&, const std::string&, const std::string&,
                      const std::string&, const std::string&, bool);
    void add_lever_door_signal(int32_t, bool, int32_t, bool);
    void use_lever(int32_t);

    // Hammers, shooters and bullets.
    void create_hammer(int32_t, float, float, int32_t);
    void hammer_add_trigger(int32_t, const std::string&);
    void hammer_add_idle_pair(int32_t, float, float);
    void hammer_add_speed_pair(int32_t, float, float);
    void hammer_piston_locations(int32_t, float, float, float, float);
    void hammer_set_cylinder_animatedsprite(int32_t, const std::string&);
    void hammer_set_piston_animatedsprite(int32_t, const std::string&);
    void hammer_set_piston_angledifference(int32_t, float);
    void hammer_set_crankshaft_sprite(int32_t, const std::string&);
    void hammer_add_down_going_sound(int32_t, const std::string&);
    void hammer_add_up_going_sound(int32_t, const std::string&);
    void create_shooter(int32_t, float, float, int32_t);
    void shooter_set_idle_time(int32_t, float, float);
    void shooter_set_bullet(int32_t, const std::string&, int32_t);
    void shooter_set_idle_animation(int32_t, const std::string&);
    void shooter_add_shooting_effect(int32_t, const std::string&);
    void create_bullet(const std::string&, int32_t);
    void bullet_set_trigger(const std::string&, const std::string&);
    void bullet_set_graphics(const std::string&, const std::string&);
    void bullet_set_flying_sound(const std::string&, const std::string&);

    // Unstable floors.
    void unstablefloor_create(int32_t, float, float, int32_t);
    void unstablefloor_segmentstrip(int32_t, int32_t);
    void unstablefloor_animations(int32_t, const std::string&, const std::string&,
                                  const std::string&);
    void unstablefloor_audio(int32_t, const std::string&, const std::string&, const std::string&);

    // Music and sounds.
    void set_master_volume(float);
    void set_music_volume(float);
    void set_sfx_volume(float);
    void play_sfx(const std::string&);
    void add_music(const std::string&);
    void reset_music();
    void remove_music(const std::string&);
    void set_audio_pause(bool);
    bool is_audio_paused();
    void create_sound(const std::string&, const std::string&, float, float, float);
    void create_sound_effect(const std::string&, const std::string&, float, bool);
    void create_music(const std::string&, const std::string&);
    void create_sound_variety_collection(const std::string&, float, float, float);
    void add_sound_to_variety_collection(const std::string&, const std::string&);
    void remove_sound_from_sounds_temp(const std::string&);

    // Nested scripts.
    void do_file(const std::string&);

    // Key pairs, buttons and menu focus.
    void create_button(const std::string&, const std::string&, const std::string&,
                       const std::string&, const std::string&, const std::string&);
    void button_dependencies(const std::string&, const std::string&, const std::string&,
                             const std::string&, const std::string&);
    void add_vk_pair(int32_t, const std::string&);
    void set_focused_button(const std::string&);

    // Dialogs.
    void new_dialog(int32_t, int32_t, float, float, float);
    void new_frame(int32_t, int32_t);
    void frame_add_script(const std::string&);
    void set_line_settings_1(int32_t, int32_t, int32_t, int32_t, const std::string&);
    void set_line_settings_2(int32_t, float, float, float, float, float, float);
    void new_line(int32_t, float, float, float, float, int32_t);
    void add_line_text(const std::string&);
    void add_question_option(const std::string&, int32_t);
    void upload_line();
    void upload_question();
    void upload_frame();
    void create_dialog_font(const std::string&, int32_t, int32_t, int32_t, int32_t);

    // Points, combos and the level timer.
    const char* get_level_name(int32_t);
    void points_reset(int32_t, int32_t);
    void add_points(int32_t);
    void add_point_level(const std::string&, int32_t);
    const char* level_name();
    void set_level_name(const std::string&);
    int32_t get_points();
    int32_t get_timed_points();
    int32_t get_time();
    void timer_start();
    void timer_stop();
    void set_point_settings(int32_t, int32_t);
    int32_t get_combo();
    int32_t get_max_combo();
    int32_t get_combo_multiplier();

    // Engine extensions: functions beyond the core set, registered in their own block after it.
    // The camera and its binder.
    void camera_set_position(float, float);
    void camera_binder_mode(int32_t);
    // The frame script and the frame counter.
    void set_frame_script(const std::string&);
    int32_t get_frame_number();
    // Text objects and measuring text.
    void text_replace(int32_t, int32_t, const std::string&);
    float get_text_width(const std::string&, const std::string&, float);
    float get_text_height(const std::string&, const std::string&, float);
    // Triggers.
    void trigger_remove(int32_t);
    // The player's health.
    float get_player_hp();
    float get_player_max_hp();
    // Particles.
    void emitter_burst(const std::string&, int32_t);
    // Extension: game controllers (Flow/PadFunctions.cpp).
    void pad_map(const std::string&, int32_t);
    int32_t pad_count();
    // Tiled maps (Map/MapFunctions.cpp).
    bool map_load(const std::string&, float, float);
    bool map_load_scaled(const std::string&, float, float, float);
    int32_t map_layer(const std::string&);
    const char* map_property(const std::string&);
    const char* map_object_property(const std::string&, const std::string&);
    bool map_has_spawn(const std::string&);
    float map_spawn_x(const std::string&);
    float map_spawn_y(const std::string&);
};
