#pragma once

// The level set-up the level benchmarks share: Lua functions their init scripts call to fill a
// level with sprites and emitters, the machines made as their script functions make them, and
// the whole frame measured as the game runs it.

#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <memory>

#include "Audio/SoundEffect.h"
#include "Mechanisms/Bullet.h"
#include "Mechanisms/GateTrigger.h"
#include "Mechanisms/Hammer.h"
#include "Mechanisms/Shooter.h"
#include "Physics/PolygonShape.h"
#include "Scene/AnimatedSprite.h"
#include "Scene/Layer.h"
#include "Scene/RemorfableSprite.h"
#include "Scene/TexturedSprite.h"
#include "Shell/Game.h"

// Put before an init script that calls them:
// bench_sprites(lf, count, animation): count 8 x 8 sprites of many colours spread over the
// view, in layers 0 to 3, sprite i with the id i; every fourth one plays the animation when one
// is named.
// bench_emitters(lf, layer, first_id, turned): 20 emitters of 200 particles in a 5 x 4 grid,
// emitter i with the id first_id + i, each turned 0.3 more than the last when turned is true.
constexpr const char* bench_level_lua = R"(
    function bench_sprites(lf, count, animation)
        for i = 0, count - 1 do
            local kind = (animation and i % 4 == 0) and 1 or 0
            local name = 's' .. i
            lf:create_sprite(name, kind, kind == 1 and animation or 'none',
                             (i * 37) % 1240 - 620, (i * 53) % 700 - 350)
            lf:sprite_shape(name, kind, 8, 8)
            lf:sprite_color(name, (i % 7) / 7, (i % 5) / 5, (i % 3) / 3, 1)
            lf:gameobject_upload(name, i % 4, i)
        end
    end

    function bench_emitters(lf, layer, first_id, turned)
        for i = 0, 19 do
            local p, e = 'p' .. i, 'e' .. i
            lf:create_sprite(p, 2, 'none', 0, 0)
            lf:sprite_shape(p, 2, 6, 6)
            lf:particle_start_color(p, 1, 0.8, 0.4, 1)
            lf:particle_end_color(p, 0.4, 0.4, 0.4, 0)
            lf:create_sprite(e, 3, p, (i % 5) * 250 - 500, math.floor(i / 5) * 160 - 240)
            if turned then lf:sprite_rotation(e, i * 0.3) end
            lf:emitter_angle(e, 0.8)
            lf:emitter_range(e, 1, 3, -2, 2, 20, 80)
            lf:emitter_scale(e, true, 0.5, 1, 1.5, 2.5)
            lf:emitter_particle_amount(e, 200)
            lf:gameobject_upload(e, layer, first_id + i)
        end
    end
)";

inline std::unique_ptr<GateTrigger> bench_hazard() {
    auto t = std::make_unique<GateTrigger>();
    t->shape = PolygonShape::box(10.0f, 10.0f);
    t->belong_to.add("hazard");
    return t;
}

// A row of count hammers (at y 200) and count shooters (at shooter_y), spacing apart from x
// left, made as their script functions make them. Hammer i has the id first_id + i, its shooter
// first_id + 100 + i and that one's bullet first_id + 200 + i; bullets fly flight units to the
// left in a second and go into the level's layer bullet_layer.
inline void add_bench_machines(Layer& layer, int count, int32_t first_id, float spacing, float left,
                               float shooter_y, float flight, int32_t bullet_layer) {
    for (int i = 0; i < count; ++i) {
        const float x = spacing * static_cast<float>(i) + left;
        auto h = std::make_unique<Hammer>();
        h->id = first_id + i;
        h->transform.position = {x, 200.0f};
        h->anchor_sprite = std::make_unique<AnimatedSprite>(nullptr);
        h->piston = std::make_unique<AnimatedSprite>(nullptr);
        h->set_crankshaft(std::make_unique<TexturedSprite>(nullptr));
        h->set_trigger(bench_hazard());
        h->add_idle_pair(0.3f + 0.01f * static_cast<float>(i), 0.2f);
        h->add_speed_pair(400.0f, 200.0f);
        h->set_piston_locations({0, 0}, {0, -150});
        layer.add_object(std::move(h));

        auto s = std::make_unique<Shooter>();
        s->id = first_id + 100 + i;
        s->transform.position = {x, shooter_y};
        s->anchor_sprite = std::make_unique<AnimatedSprite>(nullptr);
        s->add_idle_pair(0.2f, 0.25f);
        auto b = std::make_unique<Bullet>();
        b->id = first_id + 200 + i;
        b->graphics = std::make_unique<RemorfableSprite>();
        b->graphics->attach(std::make_unique<TexturedSprite>(nullptr));
        b->graphics->speed = 1.0f;
        KeyFrame end;
        end.time = 1.0f;
        end.position = {x - flight, shooter_y};
        end.colour = {1, 1, 1, 1};
        b->graphics->insert_key_frame(end);
        b->set_trigger(bench_hazard());
        s->set_bullet(std::move(b), bullet_layer);
        layer.add_object(std::move(s));
    }
}

// False, and the benchmark skipped, when its game did not start.
inline bool bench_game_ready(benchmark::State& state, bool ready) {
    if (!ready)
        state.SkipWithError("no window, GL context or level (is an X server running?)");
    return ready;
}

// Whole frames as the game runs them (update, draw, present), each finished by the GPU.
inline void measure_frames(benchmark::State& state) {
    for (auto _ : state) {
        Game::instance().tick(0.01f);
        glFinish();
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
