// One busy level of everything at once: 10,000 sprites in 4 layers, 20 emitters of 200
// particles, 300 gate triggers with 50 creatures' gates that may use them, 50 AI creatures, 50
// machines (hammers and shooters with bullets in flight), a dialog on screen and the HUD.
//
// BM_StressUpdate is the frame without its drawing: AI, level, triggers, timer and sounds, as the
// game runs them (broad:0 tests every pair of gates). BM_StressFrame is the whole frame as the
// game runs it; BM_StressFloor draws the very polygons of that frame, caught with OpenGL's
// feedback mode, from one vertex array: frame / floor is what the engine costs beyond drawing.
// Needs an X display (run under xvfb-run).
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Audio/MusicEngine.h"
#include "Audio/SoundEffect.h"
#include "Audio/SoundQueue.h"
#include "BenchLevel.h"
#include "BenchSetup.h"
#include "Core/WalkGuard.h"
#include "Creatures/AIState.h"
#include "Mechanisms/Bullet.h"
#include "Mechanisms/GateTrigger.h"
#include "Mechanisms/Hammer.h"
#include "Mechanisms/Shooter.h"
#include "Mechanisms/TriggerManager.h"
#include "Physics/PolygonShape.h"
#include "Render/PngWriter.h"
#include "Render/Renderer.h"
#include "Scene/AnimatedSprite.h"
#include "Scene/Level.h"
#include "Scene/RemorfableSprite.h"
#include "Scene/TexturedSprite.h"
#include "Shell/Game.h"

namespace {

// What a game author would write for such a level. Layers 0 to 3 hold the sprites (the
// creatures and machines in layer 2), layer 4 is the HUD.
const char* stress_script = R"(
    local lf = LuaFunctions()
    -- The letters: a 256 x 16 picture of 8 x 8 cells, as the small font.
    lf:init_texture('small_font', 'letters.png', 0, 0, 0, 0)
    lf:load_resource(0, 'small_font')
    lf:init_subtexture('small_font', 'none', 0, 0, 0.5, 1)

    lf:create_level(0, 0, 0, 0)
    for layer = 0, 3 do lf:create_layer(1 - layer * 0.2, 1, 0) end
    lf:create_layer(0, 0, 0)
    bench_sprites(lf, 10000, nil)
    bench_emitters(lf, 1, 20000, false)

    -- 300 coins the creatures pass through.
    for i = 0, 299 do
        local name = 'coin' .. i
        lf:create_trigger(name, 0, '', '', (i % 30) * 42 - 620, math.floor(i / 30) * 70 - 330)
        lf:create_shape(name, 3, 10, 10)
        lf:trigger_shape(name, 0, name)
        lf:trigger_add_group_i_belong_to(name, 0, 'coin')
        lf:trigger_upload(name, 30000 + i)
    end

    -- 50 creatures on patrol, each with a gate that may use the coins.
    for i = 0, 49 do
        local name = 'c' .. i
        local x, y = (i % 10) * 120 - 560, math.floor(i / 10) * 140 - 280
        lf:create_creature(name, 2, 'none', '', '', '')
        lf:creature_shape(name, 2, 12, 12)
        lf:creature_translation(name, 2, x, y)
        lf:creature_speed(name, 2, 90 + i)
        local gate = name .. '_gate'
        lf:create_trigger(gate, 0, '', '', 0, 0)
        lf:create_circle(gate, 0, 0, 14)
        lf:trigger_shape(gate, 0, gate)
        lf:trigger_add_group_i_belong_to(gate, 0, 'enemy')
        lf:trigger_add_group_can_use_me(gate, 0, 'coin')
        lf:creature_trigger(name, 2, gate, 40000 + i)
        lf:create_pathing_graph(true)
        lf:add_pathing_graph_point(x - 50, y)
        lf:add_pathing_graph_point(x + 50, y + 30)
        lf:add_pathing_graph_point(x + 10, y + 60)
        lf:create_ai(name, 'patrol')
        lf:gameobject_upload(name, 2, 40000 + i)
    end

    -- The HUD: a bar, a frame and a score line.
    for i = 0, 3 do
        local name = 'hud' .. i
        lf:create_sprite(name, 0, 'none', -600 + i * 40, 330)
        lf:sprite_shape(name, 0, 16, 8)
        lf:convert_to_hud(name)
        lf:gameobject_upload(name, 4, 50000 + i)
    end
    lf:create_font('hud_font', 16, 16, 2, 4)
    for c = 32, 95 do
        local cell = 'letter' .. c
        local k = c - 32
        lf:init_subtexture('small_font', cell, (k % 32) / 32, 1 - math.floor(k / 32) / 2 - 0.5,
                           (k % 32 + 1) / 32, 1 - math.floor(k / 32) / 2)
        lf:add_letter_subtexture('hud_font', cell, string.char(c))
    end
    lf:create_text('score', 'hud_font', 400, 330, 0, 1)
    lf:add_text('score', 'SCORE 0012345   TIME 01:23')
    lf:convert_to_hud('score')
    lf:gameobject_upload('score', 4, 50100)

    -- A dialog of two bubbles with a question, in the small font.
    lf:new_dialog(4, 4, 0.1, 0.1, 0.01)
    lf:set_line_settings_1(0, 1, 1, 1, 'small_font')
    lf:set_line_settings_2(0, 10, 6, 4, 16, 0, 1)
    lf:set_line_settings_1(1, 1, 1, 0, 'small_font')
    lf:set_line_settings_2(1, 10, 6, 4, 16, 0, 1)
    lf:new_frame(0, -1)
    lf:new_line(0, -300, 100, -260, 60, 0)
    lf:add_line_text('HELLO, TRAVELLER!')
    lf:add_line_text('THIS IS A BUSY LEVEL.')
    lf:upload_line()
    lf:new_line(1, 100, 100, 60, 60, 0)
    lf:add_question_option('YES, PLEASE!', 0)
    lf:add_question_option('NO, THANK YOU.', 0)
    lf:upload_question()
    lf:upload_frame()
    lf:set_game_state(4)
)";

bool make_game() {
    // The letters' picture, white cells on a clear ground, written where the game reads it.
    const auto dir = std::filesystem::temp_directory_path() / "velden-stress-bench";
    std::filesystem::create_directories(dir);
    Image letters;
    letters.width = 256;
    letters.height = 16;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 256; ++x)
            for (int c = 0; c < 4; ++c)
                letters.pixels.push_back((x % 8 > 0 && y % 8 > 1) ? 255 : 0);
    if (!PngWriter::write((dir / "letters.png").string(), letters))
        return false;
    if (!start_bench_game("velden-stress-bench", std::string(bench_level_lua) + stress_script))
        return false;
    Game& game = Game::instance();
    if (!game.level || !game.level->find_by_id(9999) || game.level->layer_count() != 5)
        return false;
    // 25 hammers and 25 shooters with their bullets.
    add_bench_machines(*game.level->layer_at(2), 25, 60000, 50.0f, -600.0f, -100.0f, 300.0f, 2);
    // The dialog opens its bubbles in the dialog state; then play goes on under them.
    for (int i = 0; i < 50; ++i)
        game.tick(0.01f);
    game.state = GameState::running;
    // Two seconds of play: bullets in flight, particles at their full number.
    for (int i = 0; i < 200; ++i)
        game.tick(0.01f);
    return game.ai_states.size() == 50 && game.triggers->count() >= 350;
}

// The game is started once, for all the benchmarks here.
bool start_game() {
    static const bool ready = make_game();
    return ready;
}

// The frame's updates in the game's order, without the drawing.
void update(Game& game, float dt) {
    {
        WalkGuard guard;
        for (auto& ai : game.ai_states)
            if (ai)
                ai->update(dt);
    }
    {
        WalkGuard guard;
        game.level->update(dt);
    }
    game.triggers->update(dt);
    game.score.advance_timer(dt);
    if (game.sound_queue && game.music)
        game.sound_queue->flush(*game.music);
}

void BM_StressUpdate(benchmark::State& state) {
    if (!bench_game_ready(state, start_game()))
        return;
    Game& game = Game::instance();
    game.triggers->set_broad_phase(state.range(0) != 0);
    for (auto _ : state)
        update(game, 0.01f);
    game.triggers->set_broad_phase(true);
    state.counters["objects"] = 0;
    for (int32_t i = 0; i < game.level->layer_count(); ++i)
        state.counters["objects"] += static_cast<double>(game.level->layer_at(i)->size());
    state.counters["triggers"] = static_cast<double>(game.triggers->count());
}
BENCHMARK(BM_StressUpdate)->ArgName("broad")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_StressFrame(benchmark::State& state) {
    if (bench_game_ready(state, start_game()))
        measure_frames(state);
}
BENCHMARK(BM_StressFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

struct FloorVertex {
    float x, y;
    float r, g, b, a;
};

// The polygons one frame of the level draws, as OpenGL hands them on after transforming and
// clipping them, in clip coordinates, as triangles.
std::vector<FloorVertex> frame_polygons() {
    Game& game = Game::instance();
    Renderer& r = *game.renderer;
    std::vector<GLfloat> buffer(8u << 20);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    r.make_current();
    r.begin_frame();
    game.level->draw(r);
    r.end_frame();
    const GLint n = glRenderMode(GL_RENDER);
    std::vector<FloorVertex> out;
    // Each vertex: x, y, z in window coordinates, then the colour.
    constexpr int stride = 7;
    auto vertex = [&](GLint at) {
        return FloorVertex{buffer[at] / 640.0f - 1.0f,
                           buffer[at + 1] / 360.0f - 1.0f,
                           buffer[at + 3],
                           buffer[at + 4],
                           buffer[at + 5],
                           buffer[at + 6]};
    };
    for (GLint i = 0; i < n;) {
        const auto token = static_cast<GLenum>(buffer[i++]);
        if (token == GL_POLYGON_TOKEN) {
            const int count = static_cast<int>(buffer[i++]);
            for (int k = 1; k + 1 < count; ++k) {
                out.push_back(vertex(i));
                out.push_back(vertex(i + k * stride));
                out.push_back(vertex(i + (k + 1) * stride));
            }
            i += count * stride;
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            i += 2 * stride;
        } else if (token == GL_POINT_TOKEN || token == GL_BITMAP_TOKEN ||
                   token == GL_DRAW_PIXEL_TOKEN || token == GL_COPY_PIXEL_TOKEN) {
            i += stride;
        } else {
            i += 1;  // a pass-through value
        }
    }
    return out;
}

void BM_StressFloor(benchmark::State& state) {
    if (!bench_game_ready(state, start_game()))
        return;
    const std::vector<FloorVertex> vertices = frame_polygons();
    Renderer& r = *Game::instance().renderer;
    for (auto _ : state) {
        r.make_current();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glVertexPointer(2, GL_FLOAT, sizeof(FloorVertex), &vertices[0].x);
        glColorPointer(4, GL_FLOAT, sizeof(FloorVertex), &vertices[0].r);
        glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size()));
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        r.present();
        glFinish();
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["triangles"] = static_cast<double>(vertices.size() / 3);
}
BENCHMARK(BM_StressFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
