// 20 emitters of 200 live particles each, textured and spinning, over one layer: the level
// update (every particle's life step) and the draw of one frame. Needs an X display.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

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
    for i = 0, 19 do
        local p, e = 'p' .. i, 'e' .. i
        lf:create_sprite(p, 2, 'none', 0, 0)
        lf:sprite_shape(p, 2, 6, 6)
        lf:particle_start_color(p, 1, 0.8, 0.4, 1)
        lf:particle_end_color(p, 0.4, 0.4, 0.4, 0)
        lf:create_sprite(e, 3, p, (i % 5) * 250 - 500, math.floor(i / 5) * 160 - 240)
        lf:sprite_rotation(e, i * 0.3)
        lf:emitter_angle(e, 0.8)
        lf:emitter_range(e, 1, 3, -2, 2, 20, 80)
        lf:emitter_scale(e, true, 0.5, 1, 1.5, 2.5)
        lf:emitter_particle_amount(e, 200)
        lf:gameobject_upload(e, 0, i)
    end
)";

bool start_game() {
    static bool started = false;
    static bool ok = false;
    if (started)
        return ok;
    started = true;
    if (!start_bench_game("velden-particle-bench", particle_script))
        return false;
    Level* level = Game::instance().level.get();
    if (!level)
        return false;
    int live = 0;
    for (int i = 0; i < emitters; ++i)
        if (auto* e = dynamic_cast<ParticleEmitter*>(level->find_by_id(i)))
            live += static_cast<int>(e->particles.size());
    ok = live == emitters * particles_each;
    // Let the particles spread out over their lives, and the GL driver build its pipeline,
    // before measuring.
    for (int i = 0; ok && i < 300; ++i)
        level->update(0.01f);
    if (ok)
        Game::instance().tick(0.01f);
    return ok;
}

void BM_ParticleUpdate(benchmark::State& state) {
    if (!start_game()) {
        state.SkipWithError("no window, GL context or emitters (is an X server running?)");
        return;
    }
    Level& level = *Game::instance().level;
    for (auto _ : state)
        level.update(0.01f);
    state.SetItemsProcessed(state.iterations() * emitters * particles_each);
}
BENCHMARK(BM_ParticleUpdate)->Unit(benchmark::kMicrosecond);

// Drawing every particle of the frame, finished by the GL driver.
void BM_ParticleDraw(benchmark::State& state) {
    if (!start_game()) {
        state.SkipWithError("no window, GL context or emitters (is an X server running?)");
        return;
    }
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
