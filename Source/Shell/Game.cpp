#include "Shell/Game.h"

#include "Core/WalkGuard.h"
#include "Flow/Dialog.h"
#include "Physics/PhysicsDebugDraw.h"
#include "Platform/Keyboard.h"
#include "Platform/VirtualKeys.h"
#include "Render/Camera.h"
#include "Render/FontBuilders.h"
#include "Render/GLRenderer.h"
#include "Render/Registries.h"
#include "Scene/Level.h"
#include "Script/ScriptHost.h"

Game& Game::instance() {
    // Never destroyed: objects that outlive the frame loop end with the process.
    static Game* game = new Game;
    return *game;
}

Game::Game() = default;
Game::~Game() = default;

void Game::init() {
    renderer = std::make_unique<GLRenderer>();
    // The render state every frame runs with.
    renderer->set_blend_state(BlendState::alpha());
    renderer->set_cull_state({false, 0, 0});
    renderer->set_depth_state({false, false, 7});
    renderer->set_polygon_mode({2, 2});
    // The view shows 1280 x 720 world units around the camera in every display profile.
    camera = std::make_unique<Camera>();
    camera->left = -640.0f;
    camera->right = 640.0f;
    camera->bottom = -360.0f;
    camera->top = 360.0f;
    camera->notify_projection_changed();
    renderer->set_camera(camera.get());

    ScriptHost::start();
    ScriptHost::run_script(init_script, 0);
    build_fonts();
}

void Game::build_fonts() {
    // From the pictures the start-up script registered; a name whose picture is missing or
    // does not fit maps to no table.
    TextureRegistry& textures = TextureRegistry::instance();
    if (auto table = build_marker_font(textures.find("font"), 32, 32))
        fonts["font"] = std::move(table);
    if (auto table = build_grid_font(textures.find("small_font"), 8, 8, 32, 64, 32))
        fonts["small_font"] = std::move(table);
}

const LetterTable* Game::find_font(const std::string& name) const {
    auto it = fonts.find(name);
    return it == fonts.end() ? nullptr : it->second.get();
}

void Game::tick(float dt) {
    run_escape_script();
    if (state == GameState::menu)
        menu_step();
    if (state == GameState::dialog)
        dialog_step();
    update_ai(dt);
    update_level(dt);
    if (state != GameState::dialog)
        update_triggers(dt);
    advance_level_timer(dt);
    update_sounds();
    draw();
    present();
}

void Game::shutdown() {
    ScriptHost::close();
    level.reset();
    // The music engine and the trigger manager go just before the renderer.
    renderer.reset();
    dialog.reset();
    fonts.clear();
}

void Game::run_escape_script() {
    // Polled, not edge-detected: the script runs in every frame while the key is held.
    if (Keyboard::current().is_down(vk::escape))
        ScriptHost::run_script(escape_script, 0);
}

void Game::menu_step() {}

void Game::dialog_step() {
    // Without a dialog, or once it has ended, the dialog state falls back to running.
    if (!dialog || dialog->finished()) {
        dialog.reset();
        state = GameState::running;
        return;
    }
    // Frame scripts may replace the dialog or the level; both outlive the step.
    WalkGuard guard;
    Dialog* running = dialog.get();
    running->update();
}

void Game::replace_dialog(std::unique_ptr<Dialog> new_dialog) {
    if (std::unique_ptr<Dialog> old = std::move(dialog)) {
        old->retire();
        WalkGuard::dispose(std::move(old));
    }
    dialog = std::move(new_dialog);
}

void Game::update_ai(float) {}

void Game::update_level(float dt) {
    // Scripts run from inside the level may replace it; the old one lives until the walk ends.
    WalkGuard guard;
    if (level)
        level->update(dt);
}

void Game::replace_level(std::unique_ptr<Level> new_level) {
    // The old level leaves the game before it is torn down, so nothing destroyed with it finds
    // it still current.
    if (std::unique_ptr<Level> old = std::move(level)) {
        old->retire();
        WalkGuard::dispose(std::move(old));
    }
    level = std::move(new_level);
}

void Game::update_triggers(float) {}

void Game::reset_for_level_change() {
    // AI states, the player and the menu focus join here as they are built.
}

void Game::advance_level_timer(float) {}

void Game::update_sounds() {}

void Game::draw() {
    if (!renderer)
        return;
    renderer->make_current();
    if (!renderer->begin_frame())
        return;
    renderer->clear_color_buffer();
    renderer->clear_depth_buffer();
    if (level)
        level->draw(*renderer);
    // The debug views: the triggers, then the segment strips and the colliders.
    if (draw_segments && level) {
        draw_segment_strips(level->segment_strips, *renderer);
        draw_colliders(level->colliders, *renderer);
    }
    renderer->end_frame();
}

void Game::present() {
    // Also after a frame that could not begin.
    if (renderer)
        renderer->present();
}
