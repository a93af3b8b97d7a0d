// Letters through the batch come out as they did drawn one by one: bitmap-font letters as glyph
// quads set exactly the pixels of one glBitmap display list per letter, and letter-table
// letters batched are the same as each drawn on its own.
#include <GL/gl.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Platform/SystemFont.h"
#include "Render/BitmapFont.h"
#include "Render/FontBuilders.h"
#include "Render/GLRendererFixture.h"
#include "Render/LetterTable.h"
#include "Render/Texture.h"
#include "Scene/MultilineText.h"
#include "Scene/Text.h"

namespace {

struct Face {
    const char* name;
    int32_t height;
    bool bold;
    bool italic;
};

// Display lists of a system font, made as the renderer made them before its letters went
// through the batch: one glBitmap per character from 32 to 127.
GLuint display_lists(const Face& face) {
    const auto glyphs = SystemFont::render(face.name, face.height, face.bold, face.italic);
    if (!glyphs)
        return 0;
    const GLuint base = glGenLists(SystemFont::char_count);
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int32_t i = 0; i < SystemFont::char_count; ++i) {
        const GlyphBitmap& g = (*glyphs)[i];
        glNewList(base + static_cast<GLuint>(i), GL_COMPILE);
        glBitmap(g.width, g.height, g.x_origin, g.y_origin, g.x_move, 0.0f,
                 g.bits.empty() ? nullptr : g.bits.data());
        glEndList();
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    return base;
}

// Screen text from those lists, as the renderer drew it then.
void list_text(GLuint base, int32_t x, int32_t y, const Color& color, const char* text) {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glColor4fv(color.data());
    glRasterPos2f(-1.0f, -1.0f);
    glBitmap(0, 0, 0.0f, 0.0f, static_cast<GLfloat>(x), static_cast<GLfloat>(y), nullptr);
    glPushAttrib(GL_LIST_BIT);
    glListBase(base - SystemFont::first_char);
    glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
    glPopAttrib();
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

struct ScreenText {
    int32_t x, y;
    Color color;
    std::string text;
};

std::string every_character() {
    std::string s;
    for (int c = 32; c < 128; ++c)
        s += static_cast<char>(c);
    return s;
}

// Texts over the window and across its edges, in colours that blending shows, one of them
// beyond full and one of no alpha, with bytes that have no letter.
std::vector<ScreenText> screen_texts() {
    std::vector<ScreenText> texts;
    const std::string all = every_character();
    for (int k = 0; k < 12; ++k)
        texts.push_back({10 + 37 * k,
                         20 + 55 * k,
                         {0.2f + 0.07f * k, 1.0f - 0.08f * k, 0.5f, 0.35f + 0.05f * k},
                         all.substr(static_cast<size_t>(k) * 8, 40) + "\x01\x7f\x80\xff"});
    texts.push_back({-13, 300, {1, 1, 1, 1}, "Left of the window"});
    texts.push_back({1180, 400, {0.1f, 0.9f, 1, 1}, "Right of the window"});
    texts.push_back({600, 710, {1, 0.5f, 0, 1}, "Over the top"});
    texts.push_back({600, -6, {1, 1, 0, 1}, "Under the bottom gjpqy"});
    texts.push_back({300, 640, {2, -1, 0.5f, 1.5f}, "Beyond full"});
    texts.push_back({300, 600, {1, 1, 1, 0}, "No alpha"});
    texts.push_back({300, 560, {1, 1, 1, 0.002f}, "Next to no alpha"});
    return texts;
}

class TextBatchTest : public GLRendererFixture {
  protected:
    // Stripes of colour under the letters, so that blending shows.
    void background() {
        for (int i = 0; i < 16; ++i) {
            const auto corners = box(-640.0f + 80 * i, -360, -560.0f + 80 * i, 360);
            gl().draw_quad(Transform{}, corners.data(), {0.06f * i, 0.5f, 1.0f - 0.06f * i, 1.0f},
                           nullptr, nullptr);
        }
    }

    static size_t differing(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
        size_t n = 0;
        for (size_t i = 0; i + 3 < a.size(); i += 4)
            n += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2] ? 1 : 0;
        return n;
    }
};

}  // namespace

TEST_F(TextBatchTest, BitmapFontLettersSetThePixelsTheirDisplayListsSet) {
    start();
    const Face faces[] = {{"DejaVu Sans", -14, false, false},
                          {"DejaVu Sans", 22, true, false},
                          {"DejaVu Sans Mono", -9, false, true},
                          {"DejaVu Serif", -41, true, true}};
    const BlendState blends[] = {BlendState::alpha(), BlendState::additive(), BlendState{},
                                 BlendState{true, 0, 0, 4, 0, 4, 0, {}}};
    const std::vector<ScreenText> texts = screen_texts();
    for (const Face& face : faces) {
        BitmapFont font(face.name, face.height, face.bold, face.italic);
        ASSERT_TRUE(gl().upload(&font));
        const GLuint lists = display_lists(face);
        ASSERT_NE(lists, 0u);
        for (const BlendState& blend : blends) {
            gl().set_blend_state(BlendState::alpha());
            frame([&] {
                background();
                gl().set_blend_state(blend);
                gl().set_screen_font(font);
                for (const ScreenText& t : texts)
                    gl().draw_screen_text(t.x, t.y, t.color, t.text.c_str());
                // The letters went through the batch: its atlas was bound to draw them.
                gl().end_frame();
                EXPECT_EQ(gl().bound_texture(), static_cast<uint32_t>(gl().screen_font()));
            });
            const std::vector<uint8_t> batched = frame_pixels();

            gl().set_blend_state(BlendState::alpha());
            frame([&] {
                background();
                gl().set_blend_state(blend);
                gl().end_frame();
                for (const ScreenText& t : texts)
                    list_text(lists, t.x, t.y, t.color, t.text.c_str());
            });
            const std::vector<uint8_t> listed = frame_pixels();

            gl().set_blend_state(BlendState::alpha());
            frame([&] { background(); });
            const size_t ink = differing(listed, frame_pixels());

            EXPECT_EQ(differing(batched, listed), 0u)
                << face.name << " " << face.height << " blend " << blend.src_color << ", "
                << blend.dst_color;
            // A frame with few letters in it would prove little.
            EXPECT_GT(ink, static_cast<size_t>(face.height == -9 ? 3000 : 6000)) << face.name;
        }
        gl().release(&font);
        glDeleteLists(lists, SystemFont::char_count);
    }
}

TEST_F(TextBatchTest, BitmapFontLettersMatchInEveryStateTheBatchCannotDraw) {
    start();
    const Face face{"DejaVu Sans", -18, false, false};
    BitmapFont font(face.name, face.height, face.bold, face.italic);
    ASSERT_TRUE(gl().upload(&font));
    const GLuint lists = display_lists(face);
    const std::vector<ScreenText> texts = screen_texts();
    // Culling, outlines, a viewport smaller than the window: glBitmap ignores all three.
    const std::function<void()> states[] = {
        [&] {
            gl().set_cull_state({true, 0, 1});
        },
        [&] {
            gl().set_polygon_mode({1, 1});
        },
        [&] { gl().set_viewport(100, 50, 600, 300); },
    };
    for (size_t i = 0; i < std::size(states); ++i) {
        std::vector<uint8_t> frames[2];
        for (int listed = 0; listed < 2; ++listed) {
            gl().set_cull_state({false, 0, 0});
            gl().set_polygon_mode({2, 2});
            gl().set_viewport(0, 0, 1280, 720);
            frame([&] {
                background();
                states[i]();
                gl().set_screen_font(font);
                for (const ScreenText& t : texts) {
                    if (listed)
                        list_text(lists, t.x, t.y, t.color, t.text.c_str());
                    else
                        gl().draw_screen_text(t.x, t.y, t.color, t.text.c_str());
                }
            });
            frames[listed] = frame_pixels();
        }
        EXPECT_EQ(differing(frames[0], frames[1]), 0u) << "state " << i;
    }
    gl().set_cull_state({false, 0, 0});
    gl().set_polygon_mode({2, 2});
    gl().set_viewport(0, 0, 1280, 720);
    glDeleteLists(lists, SystemFont::char_count);
}

TEST_F(TextBatchTest, LetterTableTextsAreTheSameBatchedOrNot) {
    start();
    // A 256 x 32 picture of 8 x 16 cells in a pattern of its own, cut as a grid font, and a
    // second one that is never uploaded (its letters draw in their plain colour).
    Image image;
    image.width = 256;
    image.height = 32;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 256; ++x) {
            const int k = x * 7 + y * 13;
            image.pixels.push_back(static_cast<uint8_t>(k * 5 % 256));
            image.pixels.push_back(static_cast<uint8_t>(k * 11 % 256));
            image.pixels.push_back(static_cast<uint8_t>(255 - k % 256));
            image.pixels.push_back(static_cast<uint8_t>((x + y) % 5 == 0 ? 0 : 255));
        }
    Texture picture(&image, 0, 0, 0);
    Texture smooth(&image, 1, 1, 0);
    Texture never(&image, 0, 0, 0);
    ASSERT_TRUE(gl().upload(&picture));
    ASSERT_TRUE(gl().upload(&smooth));
    std::unique_ptr<LetterTable> fonts[] = {build_grid_font(&picture, 8, 16, 32, 64, 32),
                                            build_grid_font(&smooth, 8, 16, 32, 64, 32),
                                            build_grid_font(&never, 8, 16, 32, 64, 32)};
    ASSERT_TRUE(fonts[0] && fonts[1] && fonts[2]);

    std::vector<std::unique_ptr<Text>> texts;
    std::vector<std::unique_ptr<MultilineText>> blocks;
    for (int k = 0; k < 24; ++k) {
        auto t = std::make_unique<Text>();
        t->font = fonts[k % 3].get();
        t->text = every_character().substr(static_cast<size_t>(k) * 3, 30) + "abc";
        t->height = 9.0f + 1.7f * k;
        t->letter_spacing = 0.5f * (k % 4) - 0.5f;
        t->scale = 0.6f + 0.1f * (k % 7);
        t->h_align = k % 4;
        t->v_align = (k / 4) % 3;
        t->transform.position = {-600.0f + 51.3f * k, 330.0f - 27.1f * k};
        if (k % 5 == 0)
            t->transform.set_rotation(0.1f * k);
        t->colour = {1.0f - 0.03f * k, 0.4f + 0.02f * k, 0.8f, k % 6 == 0 ? 1.5f : 0.9f};
        texts.push_back(std::move(t));
    }
    for (int k = 0; k < 6; ++k) {
        auto m = std::make_unique<MultilineText>();
        m->font = fonts[k % 2].get();
        m->lines = {std::string("FIRST LINE ").append(std::to_string(k)), "SECOND",
                    "THE THIRD, LONGER LINE"};
        m->height = 12.0f + 3 * k;
        m->line_spacing = 2.0f * k;
        m->letter_spacing = 1.0f;
        m->scale = 0.8f + 0.1f * k;
        m->line_align = k % 3;
        m->h_align = k % 3;
        m->v_align = (k + 1) % 3;
        m->transform.position = {-500.0f + 190 * k, -200.0f + 40 * k};
        m->transform.set_rotation(-0.05f * k);
        blocks.push_back(std::move(m));
    }

    auto render = [&](bool batching) {
        gl().set_batching(batching);
        gl().set_blend_state(BlendState::alpha());
        frame([&] {
            background();
            for (size_t i = 0; i < texts.size(); ++i) {
                // Texts among other quads, and a state change between some.
                if (i == 12)
                    gl().set_blend_state(BlendState::additive());
                texts[i]->draw(gl(), {1, 0.9f, 1, 1});
            }
            for (const auto& block : blocks)
                block->draw(gl(), {0.9f, 1, 1, 0.8f});
        });
        return frame_pixels();
    };
    for (Vector2 at : {Vector2{0, 0}, Vector2{13.25f, -7.5f}, Vector2{-0.4f, 31.6f}}) {
        move_camera(at.x, at.y);
        const std::vector<uint8_t> batched = render(true);
        const std::vector<uint8_t> single = render(false);
        EXPECT_EQ(differing(batched, single), 0u) << "camera at " << at.x << ", " << at.y;
        gl().set_batching(true);
        gl().set_blend_state(BlendState::alpha());
        frame([&] { background(); });
        EXPECT_GT(differing(batched, frame_pixels()), 20000u);
    }
}
