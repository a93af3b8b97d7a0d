#pragma once

#include <map>
#include <memory>
#include <string>

#include "Shell/GameState.h"

class Camera;
class Dialog;
class Level;
class LetterTable;
class Renderer;

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

    // Makes the dialog current. The previous one is destroyed (after the dialog step, when a
    // script run from inside it asked for the change).
    void replace_dialog(std::unique_ptr<Dialog> new_dialog);

    // The letter table under a name in fonts, or null.
    const LetterTable* find_font(const std::string& name) const;

    static constexpr const char* init_script = "Data/Scripts/INIT_test.lua";
    static constexpr const char* escape_script = "Data/Scripts/escape_pressed.lua";

    std::unique_ptr<Renderer> renderer;
    std::unique_ptr<Level> level;
    GameState state = GameState::running;
    bool draw_triggers = false;
    bool draw_segments = false;
    // Made at start-up, attached to the renderer and never destroyed.
    std::unique_ptr<Camera> camera;
    // Letter tables by name: "font" and "small_font" from start-up, and dialog fonts.
    std::map<std::string, std::unique_ptr<LetterTable>> fonts;
    // The running dialog, or none.
    std::unique_ptr<Dialog> dialog;

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
    void build_fonts();
    void draw();
    void present();
};
