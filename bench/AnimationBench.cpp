// The per-frame cost of playing animations: every animated sprite, particle and creature
// advances its own copy once a frame.
#include <benchmark/benchmark.h>

#include <vector>

#include "Render/Animation.h"
#include "Render/SubTexture.h"

namespace {

SubTexture frames[8];

Animation eight_frames(int32_t loop_mode) {
    Animation a(loop_mode, 0);
    for (SubTexture& f : frames)
        a.add_frame(&f, 0.05f);
    return a;
}

// One thousand animations advanced by one 16 ms frame each.
void BM_AdvanceThousandAnimations(benchmark::State& state) {
    std::vector<Animation> animations(1000, eight_frames(static_cast<int32_t>(state.range(0))));
    for (auto _ : state) {
        for (Animation& a : animations)
            a.advance(0.016f);
        benchmark::DoNotOptimize(animations.data());
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_AdvanceThousandAnimations)->Arg(0)->Arg(1)->Arg(2);

// The worst a frame can ask: a second's worth of 10 ms frames in one call.
void BM_AdvanceAcrossManyFrames(benchmark::State& state) {
    Animation a(0, 0);
    for (int i = 0; i < 100; ++i)
        a.add_frame(&frames[i % 8], 0.01f);
    for (auto _ : state) {
        a.advance(1.0f);
        benchmark::DoNotOptimize(a.index);
    }
}
BENCHMARK(BM_AdvanceAcrossManyFrames);

}  // namespace
