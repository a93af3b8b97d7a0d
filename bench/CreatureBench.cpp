// The per-frame cost of creatures: 200 named creatures walking on the level's strips (their
// bodies stepped, as a physical AI state does) and the player's whole update, pushed out of
// 100 colliders.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "Creatures/MovingCreature.h"
#include "Creatures/Player.h"
#include "Mechanisms/GateTrigger.h"
#include "Physics/CircleShape.h"
#include "Physics/Collider.h"
#include "Physics/PolygonShape.h"
#include "Scene/Level.h"
#include "Shell/Game.h"

namespace {

constexpr float dt = 0.01f;

// Twenty strips of gentle slopes side by side, each 400 units wide, and 100 colliders spread
// over them, alternately boxes and circles, a few of them in the player's way.
std::unique_ptr<Level> make_level() {
    auto level = std::make_unique<Level>();
    for (int s = 0; s < 20; ++s) {
        auto strip = std::make_unique<SegmentStrip>();
        const float x0 = -4000.0f + 400.0f * s;
        for (int k = 0; k < 8; ++k) {
            const float a = x0 + 50.0f * k, b = a + 50.0f;
            strip->append_segment({a, (k % 2) * 10.0f}, {b, ((k + 1) % 2) * 10.0f});
        }
        level->segment_strips.push_back(std::move(strip));
    }
    for (int i = 0; i < 100; ++i) {
        std::unique_ptr<Shape> shape;
        if (i % 2 == 0)
            shape = PolygonShape::box(15.0f, 15.0f);
        else
            shape = std::make_unique<CircleShape>(0.0f, 0.0f, 15.0f);
        level->colliders.push_back(
            make_collider(i, shape.get(), -3900.0f + 78.0f * i, 20.0f + (i % 3) * 40.0f));
    }
    return level;
}

void BM_CreaturesAndPlayerFrame(benchmark::State& state) {
    Game& game = Game::instance();
    game.level = make_level();
    Level& level = *game.level;

    std::vector<std::unique_ptr<MovingCreature>> creatures;
    for (int i = 0; i < 200; ++i) {
        auto c = std::make_unique<MovingCreature>();
        c->body.transform.position = {-3990.0f + 39.0f * i, 2.0f};
        c->body.gravity = 500.0f;
        creatures.push_back(std::move(c));
    }

    auto player = std::make_unique<Player>();
    auto trigger = std::make_unique<GateTrigger>();
    trigger->shape = std::make_unique<CircleShape>(0.0f, 0.0f, 14.0f);
    player->set_trigger(std::move(trigger));
    player->body.transform.position = {-3980.0f, 2.0f};
    player->body.gravity = 500.0f;
    player->body.speed = 2000.0f;
    player->body.drag = 10.0f;
    player->right_held = true;
    player->state = Player::walking;
    game.set_player(std::move(player));
    Player& p = *game.player;

    int64_t pushes = 0;  // frames in which a collider held the player back
    int stuck = 0;
    for (auto _ : state) {
        const float before = p.body.transform.position.x;
        for (auto& c : creatures) {
            CreatureBody& b = c->body;
            b.push(b.facing == 0 ? 1 : b.facing, dt);
            b.step(dt, &level);
            c->update(dt);
            // Back to the start before the strips end.
            if (b.transform.position.x > 3900.0f)
                b.transform.position = {-3990.0f, 2.0f};
        }
        p.update(dt);
        // Walking right at most 2 units a frame; less when a collider pushed back.
        if (p.body.transform.position.x < before + 1.5f) {
            ++pushes;
            // Held against a low collider: past it, as a jump would.
            if (++stuck > 20) {
                p.body.transform.position.x += 40.0f;
                stuck = 0;
            }
        } else {
            stuck = 0;
        }
        if (p.body.transform.position.x > 3900.0f || p.body.transform.position.y < -100.0f) {
            p.reset_for_level_change();
            p.body.transform.position = {-3980.0f, 2.0f};
            p.state = Player::walking;  // the right arrow is still held
        }
        benchmark::DoNotOptimize(p.body.transform.position);
    }
    state.SetItemsProcessed(state.iterations() * 201);
    state.counters["blocked_share"] =
        static_cast<double>(pushes) / static_cast<double>(state.iterations());
    game.player.reset();
    game.replaced_players.clear();
    game.level.reset();
}
BENCHMARK(BM_CreaturesAndPlayerFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
