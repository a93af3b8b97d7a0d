// The trigger manager's update runs every frame: every gate is tested against every other gate
// it may use. A level's gates (coins, doors, hazards) are usable only by the player's trigger.
#include <benchmark/benchmark.h>

#include <memory>

#include "Mechanisms/GateTrigger.h"
#include "Mechanisms/TriggerManager.h"
#include "Physics/PolygonShape.h"

namespace {

// 300 coin-sized gates in two rows along a level, and the player's trigger walking past them
// back and forth. With everyone set, every gate may use every other one (the worst case). The
// second argument turns the broad phase off (0) or on (1).
void run_update(benchmark::State& state, bool everyone) {
    const int gates = static_cast<int>(state.range(0));
    TriggerManager manager;
    manager.set_broad_phase(state.range(1) != 0);
    for (int i = 0; i < gates; ++i) {
        auto gate = std::make_unique<GateTrigger>();
        gate->id = i;
        gate->transform.position = {40.0f * i, (i % 2) * 100.0f};
        gate->shape = PolygonShape::box(16.0f, 16.0f);
        gate->belong_to.add(everyone ? "everyone" : "coin");
        if (everyone)
            gate->can_use_me.add("everyone");
        manager.add(std::move(gate));
    }
    auto player = std::make_unique<GateTrigger>();
    player->shape = PolygonShape::box(20.0f, 40.0f);
    player->belong_to.add("player");
    player->can_use_me.add("coin");
    GateTrigger* p = player.get();
    manager.add(std::move(player));

    const float end = 40.0f * gates;
    float x = 0.0f, step = 5.0f;
    for (auto _ : state) {
        x += step;
        if (x < 0.0f || x > end)
            step = -step;
        p->transform.position = {x, 30.0f};
        manager.update(0.01f);
    }
}

void BM_TriggerUpdate_Coins(benchmark::State& state) {
    run_update(state, false);
}
void BM_TriggerUpdate_EveryoneUsesEveryone(benchmark::State& state) {
    run_update(state, true);
}

}  // namespace

BENCHMARK(BM_TriggerUpdate_Coins)
    ->ArgNames({"gates", "broad"})
    ->Args({300, 0})
    ->Args({300, 1})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TriggerUpdate_EveryoneUsesEveryone)
    ->ArgNames({"gates", "broad"})
    ->Args({300, 0})
    ->Args({300, 1})
    ->Unit(benchmark::kMicrosecond);
