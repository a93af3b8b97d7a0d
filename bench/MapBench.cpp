// A scrolling frame over a Tiled tile layer: a 1,000 x 1,000 layer against a one-screen layer
// of the same 16 x 16 tiles. The layer draws only the cells in view, so both should cost the
// same. Needs an X display (run under xvfb-run).
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <memory>
#include <vector>

#include "BenchSetup.h"
#include "Map/TileLayer.h"
#include "Render/Camera.h"
#include "Render/GLRenderer.h"
#include "Render/Texture.h"

namespace {

// The window, renderer, camera and a 64 x 64 atlas of 16 tiles, made once for all benchmarks.
struct Scene : BenchDrawing {
    std::unique_ptr<Texture> atlas;

    static Scene* get() {
        static Scene* scene = make();
        return scene;
    }

  private:
    static Scene* make() {
        auto* s = new Scene;
        if (!s->open())
            return s;
        Image image;
        image.width = 64;
        image.height = 64;
        image.pixels.assign(64 * 64 * 4, 0);
        for (size_t i = 0; i < image.pixels.size(); ++i)
            image.pixels[i] = static_cast<uint8_t>(i * 7 % 256 | (i % 4 == 3 ? 255 : 0));
        s->atlas = std::make_unique<Texture>(&image, 0, 0, 0);
        s->renderer->upload(s->atlas.get());
        return s;
    }
};

// A layer of columns x rows cells filled with the 16 tiles of the atlas, some flipped, some
// empty, its top-left corner at the origin.
std::unique_ptr<TileLayer> make_layer(const Texture* atlas, int32_t columns, int32_t rows) {
    std::vector<TileLayer::Tile> tiles;
    for (int i = 0; i < 16; ++i) {
        TileLayer::Tile t;
        t.texture = atlas;
        t.u0 = float(i % 4) / 4;
        t.u1 = t.u0 + 0.25f;
        t.v0 = 1 - float(i / 4) / 4;
        t.v1 = t.v0 - 0.25f;
        t.width = t.height = 16;
        tiles.push_back(t);
    }
    std::vector<uint32_t> cells(size_t(columns) * size_t(rows));
    for (size_t i = 0; i < cells.size(); ++i)
        cells[i] = i % 11 == 0
                       ? 0
                       : uint32_t(1 + i * 13 % 16) | (i % 5 == 0 ? TileLayer::flip_horizontal : 0);
    return std::make_unique<TileLayer>(Vector2{0, 0}, 16.0f, 16.0f, columns, rows, std::move(cells),
                                       std::move(tiles));
}

// Scrolls back and forth over the layer's first screen and a half: the view always full.
void run(benchmark::State& state, int32_t columns, int32_t rows) {
    Scene* scene = Scene::get();
    if (!scene->ready()) {
        state.SkipWithError("no window or GL context (is an X server running?)");
        return;
    }
    std::unique_ptr<TileLayer> layer = make_layer(scene->atlas.get(), columns, rows);
    GLRenderer& r = *scene->renderer;
    Camera& camera = *scene->camera;
    int64_t frame = 0;
    for (auto _ : state) {
        const float step = float(frame++ % 64);
        camera.position = {640 + step, -360 - step / 2};
        camera.notify_moved();
        r.make_current();
        if (r.begin_frame()) {
            r.clear_color_buffer();
            layer->draw(r, Color{1, 1, 1, 1});
            r.end_frame();
        }
        r.present();
        glFinish();
    }
    camera.position = {0, 0};
    camera.notify_moved();
    state.counters["tiles"] = static_cast<double>(layer->tiles_drawn());
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_ScrollTileLayerOneScreen(benchmark::State& state) {
    run(state, 84, 49);
}
BENCHMARK(BM_ScrollTileLayerOneScreen)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ScrollTileLayerThousandSquare(benchmark::State& state) {
    run(state, 1000, 1000);
}
BENCHMARK(BM_ScrollTileLayerThousandSquare)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
