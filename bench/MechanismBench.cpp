// A level full of machines: 50 hammers, 50 shooters with their bullets in flight and 100
// unstable floors, updated as the frame does (the level's layers, then the trigger manager).
#include <benchmark/benchmark.h>

#include <memory>

#include "Audio/Sound.h"
#include "Audio/SoundEffect.h"
#include "BenchLevel.h"
#include "Mechanisms/Bullet.h"
#include "Mechanisms/GateTrigger.h"
#include "Mechanisms/Hammer.h"
#include "Mechanisms/Shooter.h"
#include "Mechanisms/TriggerManager.h"
#include "Mechanisms/UnstableFloor.h"
#include "Physics/PolygonShape.h"
#include "Scene/AnimatedSprite.h"
#include "Scene/Level.h"
#include "Scene/RemorfableSprite.h"
#include "Scene/TexturedSprite.h"
#include "Shell/Game.h"

namespace {

void BM_MachinesUpdate(benchmark::State& state) {
    Game& game = Game::instance();
    game.triggers = std::make_unique<TriggerManager>();
    game.level = std::make_unique<Level>();
    Level& level = *game.level;
    level.layers.push_back(std::make_unique<Layer>(Vector2{1, 1}, BlendState::alpha()));
    level.layers.push_back(std::make_unique<Layer>(Vector2{1, 1}, BlendState::alpha()));
    Layer& layer = *level.layers[0];
    add_bench_machines(layer, 50, 0, 100.0f, 0.0f, 0.0f, 500.0f, 1);
    for (int i = 0; i < 100; ++i) {
        level.segment_strips.push_back(std::make_unique<SegmentStrip>(1000 + i));
        auto f = std::make_unique<UnstableFloor>(1.0f, 0.5f);
        f->id = 1000 + i;
        f->strip = Ref<SegmentStrip>(level.segment_strips.back().get());
        f->set_solid_sprite(std::make_unique<AnimatedSprite>(nullptr));
        level.unstable_floors.add(f.get());
        layer.add_object(std::move(f));
    }
    // Two seconds of play first, so bullets are in flight and floors in every state.
    int frame = 0;
    auto step = [&] {
        // A landing on one floor or another every few frames.
        if (frame % 3 == 0)
            level.unstable_floors.landed_on(*level.segment_strips[frame % 100]);
        ++frame;
        game.level->update(0.01f);
        game.triggers->update(0.01f);
    };
    for (int i = 0; i < 200; ++i)
        step();
    for (auto _ : state)
        step();
    state.counters["objects"] = static_cast<double>(layer.size() + level.layers[1]->size());
    game.level.reset();
    game.triggers.reset();
}

}  // namespace

BENCHMARK(BM_MachinesUpdate)->Unit(benchmark::kMicrosecond);
