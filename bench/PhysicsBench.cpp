// The collision tests run for every trigger pair, the player's use action and the collider
// push-out each frame; walk_along runs once a frame for every body standing on a strip.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "Physics/CircleShape.h"
#include "Physics/Collision.h"
#include "Physics/Ground.h"
#include "Physics/PolygonShape.h"

namespace {

struct Pair {
    std::unique_ptr<Shape> a, b;
    Transform xa, xb;
};

Transform random_transform(std::mt19937& rng, float spread) {
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    Transform t;
    t.position = {spread * u(rng), spread * u(rng)};
    t.set_rotation(3.14159f * u(rng));
    return t;
}

std::unique_ptr<Shape> make(int32_t kind, std::mt19937& rng) {
    std::uniform_real_distribution<float> u(0.5f, 1.5f);
    if (kind == Shape::circle_type) {
        return std::make_unique<CircleShape>(0.0f, 0.0f, u(rng));
    }
    return PolygonShape::regular(8, u(rng));
}

// 1024 placements of the two kinds, about half of them overlapping.
std::vector<Pair> pairs(int32_t kind_a, int32_t kind_b) {
    std::mt19937 rng(7);
    std::vector<Pair> out;
    for (int i = 0; i < 1024; ++i) {
        out.push_back({make(kind_a, rng), make(kind_b, rng), random_transform(rng, 2.0f),
                       random_transform(rng, 2.0f)});
    }
    return out;
}

void run_overlaps(benchmark::State& state, int32_t kind_a, int32_t kind_b) {
    std::vector<Pair> ps = pairs(kind_a, kind_b);
    size_t i = 0, hits = 0;
    for (auto _ : state) {
        const Pair& p = ps[i++ & 1023];
        bool hit = overlaps(*p.a, p.xa, *p.b, p.xb);
        hits += hit;
        benchmark::DoNotOptimize(hit);
    }
    state.counters["overlapping"] = static_cast<double>(hits) / state.iterations();
}

void run_collide(benchmark::State& state, int32_t kind_a, int32_t kind_b) {
    std::vector<Pair> ps = pairs(kind_a, kind_b);
    size_t i = 0;
    for (auto _ : state) {
        const Pair& p = ps[i++ & 1023];
        Manifold m = collide(*p.a, p.xa, *p.b, p.xb);
        benchmark::DoNotOptimize(m);
    }
}

constexpr int32_t circle = Shape::circle_type;
constexpr int32_t polygon = Shape::polygon_type;

void BM_OverlapsCircleCircle(benchmark::State& s) {
    run_overlaps(s, circle, circle);
}
void BM_OverlapsPolygonCircle(benchmark::State& s) {
    run_overlaps(s, polygon, circle);
}
void BM_OverlapsPolygon8Polygon8(benchmark::State& s) {
    run_overlaps(s, polygon, polygon);
}
void BM_CollideCircleCircle(benchmark::State& s) {
    run_collide(s, circle, circle);
}
void BM_CollidePolygonCircle(benchmark::State& s) {
    run_collide(s, polygon, circle);
}
void BM_CollidePolygon8Polygon8(benchmark::State& s) {
    run_collide(s, polygon, polygon);
}
BENCHMARK(BM_OverlapsCircleCircle);
BENCHMARK(BM_OverlapsPolygonCircle);
BENCHMARK(BM_OverlapsPolygon8Polygon8);
BENCHMARK(BM_CollideCircleCircle);
BENCHMARK(BM_CollidePolygonCircle);
BENCHMARK(BM_CollidePolygon8Polygon8);

// A 100-segment strip of 10-unit-wide segments rising and falling; feet at random places walk
// a frame's step (argument 3) or across half the strip (argument 500).
void BM_WalkAlong100Segments(benchmark::State& state) {
    SegmentStrip strip;
    for (int i = 0; i < 100; ++i) {
        strip.append_segment({i * 10.0f, (i % 2) * 4.0f}, {(i + 1) * 10.0f, ((i + 1) % 2) * 4.0f});
    }
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> u(0.0f, 490.0f);
    std::vector<Vector2> feet(1024);
    for (Vector2& f : feet) {
        f = {u(rng), 0.0f};
    }
    const float distance = static_cast<float>(state.range(0));
    size_t i = 0;
    for (auto _ : state) {
        WalkResult r = walk_along(strip, feet[i++ & 1023], distance);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_WalkAlong100Segments)->Arg(3)->Arg(500);

}  // namespace
