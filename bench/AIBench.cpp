// The game's AI step for a busy level: 50 creatures patrolling, 50 running away from the player
// (half of them near it) and 50 walking through the creature physics on a strip.
#include <benchmark/benchmark.h>

#include <string>

#include "Core/WalkGuard.h"
#include "Creatures/AIState.h"
#include "Script/LuaFunctions.h"
#include "Shell/Game.h"

namespace {

void build_once() {
    static bool built = false;
    if (built)
        return;
    built = true;
    LuaFunctions lf;
    lf.create_level(0, 0, 0, 0);
    lf.create_layer(1, 1, 0);
    lf.create_segment(-5000, 0);
    lf.add_segment(0, 20);
    lf.add_segment(5000, 0);
    lf.upload_segmentstrip();
    lf.create_creature("hero", 0, "", "", "", "");
    lf.creature_translation("hero", 0, 0, 0);
    for (int i = 0; i < 150; ++i) {
        const std::string name = "c" + std::to_string(i);
        const float x = static_cast<float>((i % 50) * 40 - 1000);
        lf.create_creature(name, 2, "", "", "", "");
        lf.creature_translation(name, 2, x, 10);
        lf.creature_speed(name, 2, 120);
        lf.creature_gravity(name, 2, 900);
        lf.create_pathing_graph(i % 2 == 0);
        lf.add_pathing_graph_point(x - 150, 10);
        lf.add_pathing_graph_point(x, 60);
        lf.add_pathing_graph_point(x + 150, 10);
        lf.create_ai(name, i < 50 ? "patrol" : i < 100 ? "runaway" : "physicalmove");
    }
}

void BM_AIStep150Creatures(benchmark::State& state) {
    build_once();
    Game& game = Game::instance();
    const float dt = 1.0f / 60.0f;
    for (auto _ : state) {
        // What the game's AI step does once per frame.
        WalkGuard guard;
        for (auto& ai : game.ai_states)
            ai->update(dt);
    }
    state.counters["states"] = static_cast<double>(game.ai_states.size());
}
BENCHMARK(BM_AIStep150Creatures);

}  // namespace
