#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Core/Tracked.h"
#include "Flow/Score.h"
#include "Render/LetterTable.h"
#include "Render/Vector2.h"
#include "Shell/GameState.h"

class AIState;
class AreaTrigger;
class Camera;
class Dialog;
class CharacterController;
class Level;
class MovingCreature;
class MusicEngine;
class SoundQueue;
class MenuInput;
class Player;
class Renderer;
class TriggerManager;

// The single top-level object: owns the long-lived services, holds the current level and runs
// one frame. It exists from static initialisation to the end of the process.
class Game {
  public:
    static Game& instance();

    // Returns whether the start-up script ran to its end (the game starts either way).
    bool init();
    // One frame: update, draw, present, end of frame.
    void tick(float dt);
    void shutdown();

    // The parts of a frame, for a loop that measures them: everything up to the drawing (the
    // Escape script, menu, dialog, AI, level, triggers, level timer, sounds), the drawing, the
    // present and the end of the frame.
    void update(float dt);
    void draw();
    void present();
    // Destroys what the frame's scripts let go of, now that nothing is using it.
    void end_frame();

    // Shuts the game down, destroys everything the run made outside the Game too (temp lists,
    // registries, key names), and starts it again in the same window: the start-up script runs
    // as at the first start. Returns what init returns. Only between frames.
    bool restart();
    // Empties what scripts registered by name outside the Game: fonts, animations,
    // sub-textures, textures and key names. Only once nothing points at them any more.
    static void clear_registries();

    // Makes the level current. The previous one is destroyed (after the walk that is visiting
    // it, when a script run from inside the level asked for the change).
    void replace_level(std::unique_ptr<Level> new_level);

    // What a level change resets outside the level: the AI states, the player's level state and
    // the menu focus, as far as they exist.
    void reset_for_level_change();

    // Makes the dialog current. The previous one is destroyed (after the dialog step, when a
    // script run from inside it asked for the change).
    void replace_dialog(std::unique_ptr<Dialog> new_dialog);

    // The letter table under a name in fonts, or null.
    const LetterTable* find_font(const std::string& name) const;

    // Appends a state to the AI updated every frame, in creation order.
    void add_ai_state(std::unique_ptr<AIState> ai_state);
    // Destroys every AI state with its agent (those of one creature): now, or once the walk
    // that may be running one of them has ended.
    void clear_ai_states();
    void remove_ai_states_of(const MovingCreature* creature);

    // Where the player stands, or none while there is no player. Everything that works "near
    // the player" (emitters) asks here.
    std::optional<Vector2> player_position() const;

    // Makes the player the game's player. A player it replaces is kept alive (layers may still
    // hold it) until shutdown.
    void set_player(std::unique_ptr<Player> new_player);
    // Installs the player's keyboard controller; the previous one is destroyed once no walk
    // reads it any more.
    void set_player_controller(std::unique_ptr<CharacterController> controller);

    static constexpr const char* init_script = "Data/Scripts/INIT_test.lua";
    static constexpr const char* escape_script = "Data/Scripts/escape_pressed.lua";

    std::unique_ptr<Renderer> renderer;
    std::unique_ptr<Level> level;
    std::unique_ptr<TriggerManager> triggers;
    std::unique_ptr<MusicEngine> music;
    std::unique_ptr<SoundQueue> sound_queue;
    // The game's player (none until a script makes one) and the players it replaced.
    std::unique_ptr<Player> player;
    std::vector<std::unique_ptr<Player>> replaced_players;
    // The controller the player reads; owned here, so it outlives any player that used it.
    std::unique_ptr<CharacterController> player_controller;
    // The focused button and the menu's keyboard controller.
    std::unique_ptr<MenuInput> menu;
    GameState state = GameState::running;
    bool draw_triggers = false;
    bool draw_segments = false;
    // Made at start-up, attached to the renderer and never destroyed.
    std::unique_ptr<Camera> camera;
    // Every AI state in creation order; a slot is empty while a removal waits for the AI walk.
    std::vector<std::unique_ptr<AIState>> ai_states;
    // Points, combos, grades and the level timer; never reset by the engine itself.
    Score score;
    // The current level's name as scripts set it; none until then.
    std::optional<std::string> level_name;
    // Letter tables by name: "font" and "small_font" from start-up, and dialog fonts.
    LetterTables fonts;
    // The running dialog, or none.
    std::unique_ptr<Dialog> dialog;
    // The script run once per frame in the running state ("" for none), and the number of the
    // frame running now: 1 for the first frame after start-up, 0 during start-up.
    std::string frame_script;
    int32_t frame_number = 0;

  private:
    Game();
    ~Game();
    // A restart gives every field its first value by assigning a fresh Game.
    Game& operator=(Game&&);

    // The frame's steps, in order.
    void run_escape_script();
    void menu_step();
    void dialog_step();
    void update_ai(float dt);
    void update_level(float dt);
    void update_triggers(float dt);
    void advance_level_timer(float dt);
    void run_frame_script();
    void update_sounds();
    void build_fonts();

    // Nesting depth of the AI walk; emptied slots are dropped when it ends.
    int ai_walks_ = 0;
    std::string running_frame_script_;
};
