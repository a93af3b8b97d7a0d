// 20 emitters of 200 live particles each, textured and spinning, over one layer: the level
// update (every particle's life step) and the draw of one frame. Needs an X display.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "BenchLevel.h"
#include "BenchSetup.h"
#include "Platform/Window.h"
#include "Render/Renderer.h"
#include "Scene/Level.h"
#include "Scene/ParticleEmitter.h"
#include "Shell/Game.h"

namespace {

constexpr int emitters = 20;
constexpr int particles_each = 200;

// The script a game author would write for such a scene.
const char* particle_script = R"(
    local lf = LuaFunctions()
    lf:create_level(0, 0, 0, 0)
    lf:create_layer(1, 1, 0)
    bench_emitters(lf, 0, 0, true)
)";

bool make_game() {
    if (!start_bench_game("velden-particle-bench", std::string(bench_level_lua) + particle_script))
        return false;
    Level* level = Game::instance().level.get();
    if (!level)
        return false;
    int live = 0;
    for (int i = 0; i < emitters; ++i)
        if (auto* e = dynamic_cast<ParticleEmitter*>(level->find_by_id(i)))
            live += static_cast<int>(e->particles.size());
    if (live != emitters * particles_each)
        return false;
    // Let the particles spread out over their lives, and the GL driver build its pipeline,
    // before measuring.
    for (int i = 0; i < 300; ++i)
        level->update(0.01f);
    Game::instance().tick(0.01f);
    return true;
}

// The game is started once, for all the benchmarks here.
bool start_game() {
    static const bool ready = make_game();
    return ready;
}

void BM_ParticleUpdate(benchmark::State& state) {
    if (!bench_game_ready(state, start_game()))
        return;
    Level& level = *Game::instance().level;
    for (auto _ : state)
        level.update(0.01f);
    state.SetItemsProcessed(state.iterations() * emitters * particles_each);
}
BENCHMARK(BM_ParticleUpdate)->Unit(benchmark::kMicrosecond);

// Drawing every particle of the frame, finished by the GL driver.
void BM_ParticleDraw(benchmark::State& state) {
    if (!bench_game_ready(state, start_game()))
        return;
    Renderer& renderer = *Game::instance().renderer;
    Level& level = *Game::instance().level;
    renderer.make_current();
    for (auto _ : state) {
        if (!renderer.begin_frame())
            break;
        renderer.clear_color_buffer();
        level.draw(renderer);
        renderer.end_frame();
        glFinish();
    }
    state.SetItemsProcessed(state.iterations() * emitters * particles_each);
}
BENCHMARK(BM_ParticleDraw)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
