// A level full of machines: 50 hammers, 50 shooters with their bullets in flight and 100
// unstable floors, updated as the frame does (the level's layers, then the trigger manager).
#include <benchmark/benchmark.h>

#include <memory>

#include "Audio/Sound.h"
#include "Audio/SoundEffect.h"
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

std::unique_ptr<GateTrigger> hazard() {
    auto t = std::make_unique<GateTrigger>();
    t->shape = PolygonShape::box(10.0f, 10.0f);
    t->belong_to.add("hazard");
    return t;
}

void BM_MachinesUpdate(benchmark::State& state) {
    Game& game = Game::instance();
    game.triggers = std::make_unique<TriggerManager>();
    game.level = std::make_unique<Level>();
    Level& level = *game.level;
    level.layers.push_back(std::make_unique<Layer>(Vector2{1, 1}, BlendState::alpha()));
    level.layers.push_back(std::make_unique<Layer>(Vector2{1, 1}, BlendState::alpha()));
    Layer& layer = *level.layers[0];
    for (int i = 0; i < 50; ++i) {
        auto h = std::make_unique<Hammer>();
        h->id = i;
        h->transform.position = {100.0f * i, 200.0f};
        h->anchor_sprite = std::make_unique<AnimatedSprite>(nullptr);
        h->piston = std::make_unique<AnimatedSprite>(nullptr);
        h->set_crankshaft(std::make_unique<TexturedSprite>(nullptr));
        h->set_trigger(hazard());
        h->add_idle_pair(0.3f + 0.01f * i, 0.2f);
        h->add_speed_pair(400.0f, 200.0f);
        h->set_piston_locations({0, 0}, {0, -150});
        layer.add_object(std::move(h));

        auto s = std::make_unique<Shooter>();
        s->id = 100 + i;
        s->transform.position = {100.0f * i, 0.0f};
        s->anchor_sprite = std::make_unique<AnimatedSprite>(nullptr);
        s->add_idle_pair(0.2f, 0.25f);
        auto b = std::make_unique<Bullet>();
        b->id = 200 + i;
        b->graphics = std::make_unique<RemorfableSprite>();
        b->graphics->attach(std::make_unique<TexturedSprite>(nullptr));
        b->graphics->speed = 1.0f;
        KeyFrame end;
        end.time = 1.0f;
        end.position = {100.0f * i - 500.0f, 0.0f};
        end.colour = {1, 1, 1, 1};
        b->graphics->insert_key_frame(end);
        b->set_trigger(hazard());
        s->set_bullet(std::move(b), 1);
        layer.add_object(std::move(s));
    }
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
