#include "Shell/Game.h"

#include <cstdint>

#include "Audio/MusicEngine.h"
#include "Audio/SoundQueue.h"
#include "Core/WalkGuard.h"
#include "Creatures/AIState.h"
#include "Creatures/CharacterController.h"
#include "Creatures/Player.h"
#include "Flow/Dialog.h"
#include "Flow/KeyNames.h"
#include "Flow/MenuInput.h"
#include "Mechanisms/TriggerManager.h"
#include "Physics/PhysicsDebugDraw.h"
#include "Platform/Gamepads.h"
#include "Platform/Keyboard.h"
#include "Platform/VirtualKeys.h"
#include "Render/Camera.h"
#include "Render/FontBuilders.h"
#include "Render/GLRenderer.h"
#include "Render/Registries.h"
#include "Scene/Level.h"
#include "Scene/TempLists.h"
#include "Script/ScriptHost.h"

Game& Game::instance() {
    // Never destroyed: objects that outlive the frame loop end with the process.
    static Game* game = new Game;
    return *game;
}

Game::Game() = default;
Game::~Game() = default;
Game& Game::operator=(Game&&) = default;

bool Game::init() {
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
    triggers = std::make_unique<TriggerManager>();
    // Without working audio the game runs silently. A restart brings its engine along.
    if (!music) {
        music = std::make_unique<MusicEngine>();
        music->init();
    }
    sound_queue = std::make_unique<SoundQueue>();
    menu = std::make_unique<MenuInput>();

    ScriptHost::start();
    const bool started = ScriptHost::run_script(init_script, 0);
    build_fonts();
    return started;
}

bool Game::restart() {
    // The audio device stays open: closing it waits for the mixer's thread, longer than all
    // the rest of a restart. Its engine goes back to how init left it.
    std::unique_ptr<MusicEngine> audio = std::move(music);
    shutdown();
    // Objects still waiting in the temp lists call on the Game as they go.
    TempLists::reset();
    *this = Game();
    WalkGuard::end_frame();
    // Last: everything destroyed above may have pointed at these resources.
    clear_registries();
    if (audio && audio->ready()) {
        audio->reset();
        music = std::move(audio);
    }
    // Audio that never worked is tried again.
    audio.reset();
    return init();
}

void Game::clear_registries() {
    FontMapRegistry::instance().clear();
    BitmapFontRegistry::instance().clear();
    AnimationRegistry::instance().clear();
    SubTextureRegistry::instance().clear();
    TextureRegistry::instance().clear();
    KeyNames::instance().clear();
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
    update(dt);
    draw();
    present();
    end_frame();
}

void Game::update(float dt) {
    if (frame_number < INT32_MAX)
        ++frame_number;
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
    run_frame_script();
    update_sounds();
}

void Game::end_frame() {
    // Objects the frame's scripts replaced or dropped by name go now, when nothing is using them.
    WalkGuard::end_frame();
    // The pads come up once the first frame is shown: the first frame need not wait the
    // millisecond or more that SDL takes to start its controllers. A pad already plugged in is
    // opened then, with the inputs it holds.
    Gamepads::instance().start();
}

void Game::shutdown() {
    ScriptHost::close();
    WalkGuard::end_frame();
    level.reset();
    // Players take their triggers out of the manager, so they go before it.
    player.reset();
    replaced_players.clear();
    player_controller.reset();
    // The music engine and the trigger manager go just before the renderer.
    music.reset();
    triggers.reset();
    renderer.reset();
    if (menu)
        menu->controller.reset();
    menu.reset();
    dialog.reset();
    fonts.clear();
    Gamepads::instance().stop();
}

void Game::run_escape_script() {
    // Polled, not edge-detected: the script runs in every frame while the key is held.
    if (Keyboard::current().is_down(vk::escape))
        ScriptHost::run_script(escape_script, 0);
}

void Game::menu_step() {
    if (menu)
        menu->step();
}

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

void Game::update_ai(float dt) {
    // A state's work may destroy creatures (and with them states) or the level; what the walk
    // still touches is destroyed once it has ended. States added meanwhile run this frame.
    {
        WalkGuard guard;
        ++ai_walks_;
        for (size_t i = 0; i < ai_states.size(); ++i)
            if (AIState* ai_state = ai_states[i].get())
                ai_state->update(dt);
        --ai_walks_;
    }
    if (ai_walks_ == 0)
        std::erase(ai_states, nullptr);
}

void Game::add_ai_state(std::unique_ptr<AIState> ai_state) {
    if (ai_state)
        ai_states.push_back(std::move(ai_state));
}

void Game::clear_ai_states() {
    for (std::unique_ptr<AIState>& slot : ai_states)
        WalkGuard::dispose(std::move(slot));
    if (ai_walks_ == 0)
        ai_states.clear();
}

void Game::remove_ai_states_of(const MovingCreature* creature) {
    bool removed = false;
    for (std::unique_ptr<AIState>& slot : ai_states) {
        if (slot && slot->creature == creature) {
            WalkGuard::dispose(std::move(slot));
            removed = true;
        }
    }
    if (removed && ai_walks_ == 0)
        std::erase(ai_states, nullptr);
}

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
        // Gate and use triggers belong to the level they were made for; timed ones stay.
        if (triggers)
            triggers->remove_area_triggers();
    }
    level = std::move(new_level);
}

std::optional<Vector2> Game::player_position() const {
    if (!player)
        return std::nullopt;
    return player->body.transform.position;
}

void Game::set_player(std::unique_ptr<Player> new_player) {
    if (player)
        replaced_players.push_back(std::move(player));
    player = std::move(new_player);
    if (player)
        player->controller = player_controller.get();
}

void Game::set_player_controller(std::unique_ptr<CharacterController> controller) {
    // The player may be reading the old controller's events right now.
    WalkGuard::dispose(std::move(player_controller));
    player_controller = std::move(controller);
    if (player)
        player->controller = player_controller.get();
}

void Game::update_triggers(float dt) {
    if (triggers)
        triggers->update(dt);
}

void Game::reset_for_level_change() {
    clear_ai_states();
    if (player)
        player->reset_for_level_change();
    if (menu)
        menu->clear_focus();
}

void Game::advance_level_timer(float dt) {
    // In every game state, across level changes, until a script stops it.
    score.advance_timer(dt);
}

void Game::run_frame_script() {
    // After the world has moved and the triggers have fired, before sounds start and the frame
    // is drawn, so what the script changes shows in this frame.
    if (state != GameState::running || frame_script.empty())
        return;
    // The script may name another frame script while it runs; the copy keeps its capacity, so
    // this allocates only when a longer path comes.
    running_frame_script_ = frame_script;
    ScriptHost::run_script(running_frame_script_, frame_number, "frame script");
}

void Game::update_sounds() {
    if (sound_queue && player)
        sound_queue->set_listener(player->body.transform.position.x,
                                  player->body.transform.position.y);
    if (sound_queue && music)
        sound_queue->flush(*music);
}

void Game::draw() {
    if (!renderer)
        return;
    renderer->make_current();
    if (!renderer->begin_frame())
        return;
    // A level that a map gave a background colour clears to it.
    if (level && level->marks.background) {
        const Color kept = renderer->clear_color();
        renderer->set_clear_color(*level->marks.background);
        renderer->clear_color_buffer();
        renderer->set_clear_color(kept);
    } else {
        renderer->clear_color_buffer();
    }
    renderer->clear_depth_buffer();
    if (level)
        level->draw(*renderer);
    // The debug views: the triggers, then the segment strips and the colliders.
    if (draw_triggers && triggers) {
        // The last layer may have left additive blending on; the debug colours are see-through.
        renderer->set_blend_state(BlendState::alpha());
        triggers->draw(*renderer);
    }
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
