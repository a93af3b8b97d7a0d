// Whole frames of 2,000 letters of text in a 1280x720 window: system bitmap-font screen text,
// letter-table texts cut from a picture, and a font-map text spitter. Needs an X display (run
// under xvfb-run).
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <memory>
#include <string>
#include <vector>

#include "BenchSetup.h"
#include "Platform/Window.h"
#include "Render/BitmapFont.h"
#include "Render/Camera.h"
#include "Render/FontBuilders.h"
#include "Render/FontMap.h"
#include "Render/GLRenderer.h"
#include "Render/SubTexture.h"
#include "Render/Texture.h"
#include "Scene/Text.h"
#include "Scene/TextSpitter.h"

namespace {

constexpr int lines = 40;
constexpr int line_length = 50;  // 40 x 50 = 2,000 letters

std::string line_of_text(int k) {
    std::string s;
    for (int i = 0; i < line_length; ++i)
        s += static_cast<char>('A' + (i + k) % 26);
    return s;
}

struct TextScene : BenchDrawing {
    std::unique_ptr<BitmapFont> bitmap_font;
    std::unique_ptr<Texture> picture;
    std::unique_ptr<LetterTable> letters;
    std::vector<std::unique_ptr<Text>> texts;
    std::vector<SubTexture> cells;
    std::unique_ptr<FontMap> font_map;
    std::unique_ptr<TextSpitter> spitter;

    static TextScene* get() {
        static TextScene* scene = make();
        return scene;
    }

  private:
    static TextScene* make() {
        auto* s = new TextScene;
        if (!s->open())
            return s;

        s->bitmap_font = std::make_unique<BitmapFont>("DejaVu Sans", -14, false, false);
        s->renderer->upload(s->bitmap_font.get());
        s->renderer->set_screen_font(*s->bitmap_font);

        // A 256 x 16 grid picture of 8 x 8 cells, as the small font is.
        Image image;
        image.width = 256;
        image.height = 16;
        image.pixels.assign(256 * 16 * 4, 255);
        s->picture = std::make_unique<Texture>(&image, 0, 0, 0);
        s->renderer->upload(s->picture.get());
        s->letters = build_grid_font(s->picture.get(), 8, 8, 32, 64, 32);
        for (int k = 0; k < lines; ++k) {
            auto text = std::make_unique<Text>();
            text->font = s->letters.get();
            text->text = line_of_text(k);
            text->height = 14;
            text->letter_spacing = 1;
            text->transform.position = {-600, 340.0f - 17.0f * k};
            s->texts.push_back(std::move(text));
        }

        s->cells.resize(64);
        s->font_map = std::make_unique<FontMap>(14, 14, 1, 3);
        for (int i = 0; i < 64; ++i) {
            SubTexture& cell = s->cells[i];
            cell.texture = s->picture.get();
            const float l = (i % 32) / 32.0f, b = (1 - i / 32) / 2.0f;
            cell.corners[0] = {l, b};
            cell.corners[1] = {l + 1 / 32.0f, b};
            cell.corners[2] = {l + 1 / 32.0f, b + 0.5f};
            cell.corners[3] = {l, b + 0.5f};
            s->font_map->add_letter(static_cast<unsigned char>(32 + i), &cell);
        }
        s->spitter = std::make_unique<TextSpitter>();
        s->spitter->font = s->font_map.get();
        s->spitter->period = 0;
        for (int k = 0; k < lines; ++k)
            s->spitter->add_text(line_of_text(k));
        s->spitter->update(0.01f);  // every letter out at once
        return s;
    }
};

template <class Draw>
void run(benchmark::State& state, Draw draw) {
    TextScene* scene = TextScene::get();
    if (!scene->ready()) {
        state.SkipWithError("no window or GL context (is an X server running?)");
        return;
    }
    GLRenderer& r = *scene->renderer;
    auto frame = [&] {
        r.make_current();
        if (r.begin_frame()) {
            r.clear_color_buffer();
            r.clear_depth_buffer();
            draw(*scene, r);
            r.end_frame();
        }
        r.present();
        glFinish();
    };
    // The driver builds its code for a new kind of drawing on first use: not part of a frame.
    for (int i = 0; i < 3; ++i)
        frame();
    for (auto _ : state)
        frame();
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.SetItemsProcessed(state.iterations() * lines * line_length);
}

void BM_FrameOf2000BitmapFontLetters(benchmark::State& state) {
    std::vector<std::string> text;
    for (int k = 0; k < lines; ++k)
        text.push_back(line_of_text(k));
    run(state, [&](TextScene&, GLRenderer& r) {
        for (int k = 0; k < lines; ++k)
            r.draw_screen_text(20, 700 - 17 * k, {1, 1, 1, 1}, text[k].c_str());
    });
}
BENCHMARK(BM_FrameOf2000BitmapFontLetters)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FrameOf2000LetterTableLetters(benchmark::State& state) {
    run(state, [](TextScene& s, GLRenderer& r) {
        for (const auto& text : s.texts)
            text->draw(r, {1, 1, 1, 1});
    });
}
BENCHMARK(BM_FrameOf2000LetterTableLetters)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FrameOf2000FontMapLetters(benchmark::State& state) {
    run(state, [](TextScene& s, GLRenderer& r) { s.spitter->draw(r, {1, 1, 1, 1}); });
    state.counters["letters"] = static_cast<double>(TextScene::get()->spitter->letters.size());
}
BENCHMARK(BM_FrameOf2000FontMapLetters)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
