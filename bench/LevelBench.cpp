// A level of 10,000 sprites over 4 layers, a quarter of them animated: the level update and
// the whole frame (update, draw, present) as the game runs it. Needs an X display.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "BenchLevel.h"
#include "BenchSetup.h"
#include "Platform/Window.h"
#include "Render/Renderer.h"
#include "Scene/Level.h"
#include "Script/ScriptHost.h"
#include "Shell/Game.h"

namespace {

// The script a game author would write for such a level.
const char* level_script = R"(
    local lf = LuaFunctions()
    lf:init_subtexture('none', 'f0', 0, 0, 0.5, 1)
    lf:init_subtexture('none', 'f1', 0.5, 0, 1, 1)
    lf:init_animation('blink', 0, 0)
    lf:animation_add_frame('blink', 'f0', 0.05)
    lf:animation_add_frame('blink', 'f1', 0.05)
    lf:create_level(0, 0, 0, 0)
    for layer = 0, 3 do lf:create_layer(1 - layer * 0.2, 1, 0) end
    bench_sprites(lf, 10000, 'blink')
)";

bool make_game() {
    if (!start_bench_game("velden-level-bench", std::string(bench_level_lua) + level_script))
        return false;
    return Game::instance().level && Game::instance().level->find_by_id(9999);
}

// The game is started once, for all the benchmarks here.
bool start_game() {
    static const bool ready = make_game();
    return ready;
}

void BM_LevelUpdate(benchmark::State& state) {
    if (!bench_game_ready(state, start_game()))
        return;
    Level& level = *Game::instance().level;
    for (auto _ : state)
        level.update(0.01f);
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_LevelUpdate)->Unit(benchmark::kMicrosecond);

void BM_LevelFrame(benchmark::State& state) {
    if (bench_game_ready(state, start_game()))
        measure_frames(state);
}
BENCHMARK(BM_LevelFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
