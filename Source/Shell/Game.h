#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Core/Tracked.h"
#include "Flow/Score.h"
#include "Render/Vector2.h"
#include "Shell/GameState.h"

class AreaTrigger;
class Camera;
class CharacterController;
class Level;
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

    void init();
    void tick(float dt);
    void shutdown();

    // Makes the level current. The previous one is destroyed (after the walk that is visiting
    // it, when a script run from inside the level asked for the change).
    void replace_level(std::unique_ptr<Level> new_level);

    // What a level change resets outside the level: the AI states, the player's level state and
    // the menu focus, as far as they exist.
    void reset_for_level_change();

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
    // The player's trigger once it is in the trigger manager; it empties when a new level
    // destroys the manager's gate and use triggers, until a script gives the player a new one.
    Ref<AreaTrigger> player_trigger;
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
    // Points, combos, grades and the level timer; never reset by the engine itself.
    Score score;
    // The current level's name as scripts set it; none until then.
    std::optional<std::string> level_name;

  private:
    Game();
    ~Game();

    // The frame's steps, in order.
    void run_escape_script();
    void menu_step();
    void dialog_step();
    void update_ai(float dt);
    void update_level(float dt);
    void update_triggers(float dt);
    void advance_level_timer(float dt);
    void update_sounds();
    void draw();
    void present();
};
