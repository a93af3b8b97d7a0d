// Whole frames through the OpenGL back end in a 1280x720 window: clear, N quads, present.
// Beside them, the floor: the same textured quads drawn by a plain OpenGL 1.1 program from one
// vertex array in the same window, so engine / floor comes out of one run.
// Needs an X display (run under xvfb-run).
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <memory>
#include <vector>

#include "BenchSetup.h"
#include "Platform/Window.h"
#include "Render/Camera.h"
#include "Render/GLRenderer.h"
#include "Render/Texture.h"

namespace {

// The window, renderer, camera and a 64x64 texture, made once for all benchmarks.
struct Scene : BenchDrawing {
    std::unique_ptr<Texture> texture;

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
        image.pixels.assign(64 * 64 * 4, 200);
        s->texture = std::make_unique<Texture>(&image, 0, 0, 0);
        s->renderer->upload(s->texture.get());
        return s;
    }
};

Vector2 quad_position(int i) {
    return {static_cast<float>(i * 37 % 1240 - 620), static_cast<float>(i * 53 % 700 - 350)};
}

Color quad_colour(int i) {
    return {(i % 7) / 7.0f, (i % 5) / 5.0f, (i % 3) / 3.0f, 1.0f};
}

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
            t.position = quad_position(i);
            r.draw_quad(t, corners, quad_colour(i), texture, texture ? tex_coords : nullptr);
        }
        r.end_frame();
    }
    r.present();
}

void run(benchmark::State& state, bool textured) {
    Scene* scene = Scene::get();
    if (!scene->ready()) {
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

// The floor: what a plain OpenGL 1.1 program does for the same frame. Every frame it fills one
// interleaved array (position, texture coordinate, colour) with the quads and draws it with one
// glDrawArrays, under the same projection, texture and blending as the engine's frame.
struct FloorVertex {
    float x, y, u, v, r, g, b, a;
};

void draw_floor_frame(GLRenderer& r, int n, const Texture& texture,
                      std::vector<FloorVertex>& vertices) {
    static const float cx[4] = {-16, 16, 16, -16}, cy[4] = {-16, -16, 16, 16};
    static const float tu[4] = {0, 1, 1, 0}, tv[4] = {0, 0, 1, 1};
    r.make_current();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    vertices.resize(static_cast<size_t>(n) * 4);
    FloorVertex* out = vertices.data();
    for (int i = 0; i < n; ++i) {
        const Vector2 p = quad_position(i);
        const Color c = quad_colour(i);
        for (int k = 0; k < 4; ++k)
            *out++ = {p.x + cx[k], p.y + cy[k], tu[k], tv[k], c.r, c.g, c.b, c.a};
    }
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-640, 640, -360, 360, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(texture.handle_for(&r)));
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(FloorVertex), &vertices[0].x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(FloorVertex), &vertices[0].u);
    glColorPointer(4, GL_FLOAT, sizeof(FloorVertex), &vertices[0].r);
    glDrawArrays(GL_QUADS, 0, n * 4);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    r.present();
}

void BM_FloorTexturedQuads(benchmark::State& state) {
    Scene* scene = Scene::get();
    if (!scene->ready()) {
        state.SkipWithError("no window or GL context (is an X server running?)");
        return;
    }
    const int n = static_cast<int>(state.range(0));
    std::vector<FloorVertex> vertices;
    for (auto _ : state) {
        draw_floor_frame(*scene->renderer, n, *scene->texture, vertices);
        glFinish();
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_FloorTexturedQuads)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
