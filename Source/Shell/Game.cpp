#include "Shell/Game.h"

#include "Platform/Keyboard.h"
#include "Platform/VirtualKeys.h"
#include "Script/ScriptHost.h"

Game& Game::instance() {
    // Never destroyed: objects that outlive the frame loop end with the process.
    static Game* game = new Game;
    return *game;
}

void Game::init() {
    ScriptHost::start();
    ScriptHost::run_script(init_script, 0);
}

void Game::tick(float dt) {
    run_escape_script();
    if (state == GameState::menu) menu_step();
    if (state == GameState::dialog) dialog_step();
    update_ai(dt);
    update_level(dt);
    if (state != GameState::dialog) update_triggers(dt);
    advance_level_timer(dt);
    update_sounds();
    draw();
    present();
}

void Game::shutdown() {
    ScriptHost::close();
}

void Game::run_escape_script() {
    // Polled, not edge-detected: the script runs in every frame while the key is held.
    if (Keyboard::current().is_down(vk::escape)) ScriptHost::run_script(escape_script, 0);
}

void Game::menu_step() {}

void Game::dialog_step() {
    // Without a dialog the dialog state falls back to running.
    state = GameState::running;
}

void Game::update_ai(float) {}

void Game::update_level(float) {}

void Game::update_triggers(float) {}

void Game::advance_level_timer(float) {}

void Game::update_sounds() {}

void Game::draw() {}

void Game::present() {}
