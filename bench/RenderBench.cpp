// Whole frames through the OpenGL back end in a 1280x720 window: clear, N quads, present.
// Needs an X display (run under xvfb-run).
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <memory>
#include <vector>

#include "Platform/Window.h"
#include "Render/Camera.h"
#include "Render/GLRenderer.h"
#include "Render/Texture.h"

namespace {

// The window, renderer, camera and a 64x64 texture, made once for all benchmarks.
struct Scene {
    std::unique_ptr<Window> window;
    std::unique_ptr<GLRenderer> renderer;
    std::unique_ptr<Camera> camera;
    std::unique_ptr<Texture> texture;

    static Scene* get() {
        static Scene* scene = make();
        return scene;
    }

  private:
    static Scene* make() {
        auto* s = new Scene;
        s->window = Window::create("Vornholt", 1280, 720);
        if (!s->window)
            return s;
        s->window->show();
        Window::set_main(s->window.get());
        s->renderer = std::make_unique<GLRenderer>();
        s->renderer->set_blend_state(BlendState::alpha());
        s->renderer->set_cull_state({false, 0, 0});
        s->renderer->set_depth_state({false, false, 7});
        s->camera = std::make_unique<Camera>();
        s->camera->left = -640;
        s->camera->right = 640;
        s->camera->bottom = -360;
        s->camera->top = 360;
        s->renderer->set_camera(s->camera.get());
        Image image;
        image.width = 64;
        image.height = 64;
        image.pixels.assign(64 * 64 * 4, 200);
        s->texture = std::make_unique<Texture>(&image, 0, 0, 0);
        s->renderer->upload(s->texture.get());
        return s;
    }
};

// n quads of 32 x 32 units spread over the view, each with its own place and colour.
void draw_frame(GLRenderer& r, int n, const Texture* texture) {
    static const Vector2 corners[4] = {{-16, -16}, {16, -16}, {16, 16}, {-16, 16}};
    static const Vector2 tex_coords[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    r.make_current();
    if (r.begin_frame()) {
        r.clear_color_buffer();
        r.clear_depth_buffer();
        Transform t;
        for (int i = 0; i < n; ++i) {
            t.position = {static_cast<float>(i * 37 % 1240 - 620),
                          static_cast<float>(i * 53 % 700 - 350)};
            const Color colour{(i % 7) / 7.0f, (i % 5) / 5.0f, (i % 3) / 3.0f, 1.0f};
            r.draw_quad(t, corners, colour, texture, texture ? tex_coords : nullptr);
        }
        r.end_frame();
    }
    r.present();
}

void run(benchmark::State& state, bool textured) {
    Scene* scene = Scene::get();
    if (!scene->renderer || !scene->renderer->has_context()) {
        state.SkipWithError("no window or GL context (is an X server running?)");
        return;
    }
    const int n = static_cast<int>(state.range(0));
    const Texture* texture = textured ? scene->texture.get() : nullptr;
    for (auto _ : state) {
        draw_frame(*scene->renderer, n, texture);
        // Count the frame once OpenGL has really drawn it.
        glFinish();
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_FrameOfUntexturedQuads(benchmark::State& state) {
    run(state, false);
}
// Arg 0 is the cost of an empty frame: clear and present alone.
BENCHMARK(BM_FrameOfUntexturedQuads)
    ->Arg(0)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_FrameOfTexturedQuads(benchmark::State& state) {
    run(state, true);
}
BENCHMARK(BM_FrameOfTexturedQuads)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
