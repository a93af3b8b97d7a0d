// Batched drawing against drawing every shape on its own: a busy frame must come out the same,
// pixel for pixel, either way.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "Render/GLRendererFixture.h"
#include "Render/Texture.h"
#include "Support/Dice.h"

namespace {

// 8 x 8 pixels in a pattern of its own, with some alpha, so that filters, environments and
// blending all show.
Image pattern(int seed) {
    Image img;
    img.width = 8;
    img.height = 8;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const int k = x * 31 + y * 17 + seed * 59;
            img.pixels.push_back(static_cast<uint8_t>(k * 7 % 256));
            img.pixels.push_back(static_cast<uint8_t>(k * 13 % 256));
            img.pixels.push_back(static_cast<uint8_t>(k * 3 % 256));
            img.pixels.push_back(static_cast<uint8_t>((x + y) % 3 == 0 ? 96 : 255));
        }
    return img;
}

class GLRendererBatchTest : public GLRendererFixture {
  protected:
    void make_textures() {
        for (int i = 0; i < 5; ++i) {
            Image img = pattern(i);
            auto t = std::make_unique<Texture>(&img, i % 2, (i / 2) % 2, i == 3 ? 1 : 0);
            t->filter = i % 2;
            // The last one is never uploaded: it draws as texture 0.
            if (i < 4) {
                ASSERT_TRUE(gl().upload(t.get()));
            }
            textures.push_back(std::move(t));
        }
    }

    // Several hundred shapes of every kind, with the render state changing on the way, as
    // layers, overlays and debug views do.
    void draw_scene(bool textured) {
        static const BlendState blends[4] = {BlendState::alpha(), BlendState::additive(),
                                             BlendState{}, BlendState{true, 0, 0, 4, 0, 4, 0, {}}};
        Dice dice{12345, 10000};  // both frames get the same scene
        for (int i = 0; i < 900; ++i) {
            if (i % 150 == 0)
                gl().set_blend_state(blends[(i / 150) % 4]);
            if (i == 300)
                gl().set_scissor(200, 100, 700, 400);
            if (i == 420)
                gl().set_scissor(0, 0, 1280, 720);
            if (i == 500)
                gl().set_polygon_mode({1, 1});
            if (i == 560)
                gl().set_polygon_mode({2, 2});
            if (i == 600)
                gl().set_cull_state({true, 0, 0});
            if (i == 660)
                gl().set_cull_state({false, 0, 0});
            if (i == 700)
                gl().set_depth_state({true, true, 1});
            if (i == 780)
                gl().set_depth_state({false, false, 7});
            // A run of one kind now and then, so that batches grow long.
            const int kind = (i / 40) % 3 == 0 ? 0 : dice.below(6);
            Transform t;
            t.position = {dice.between(-700, 700), dice.between(-400, 400)};
            t.set_rotation(dice.between(-3.2f, 3.2f));
            t.scale = dice.between(0.3f, 2.5f);
            const Color colour{dice.between(0, 1), dice.between(0, 1), dice.between(0, 1),
                               dice.between(0.2f, 1)};
            const float w = dice.between(4, 80), h = dice.between(4, 80);
            auto corners = box(-w, -h, w, h);
            // Clockwise now and then: culled while culling is on.
            if (dice.below(4) == 0)
                std::swap(corners[1], corners[3]);
            const auto tex = box(dice.between(-0.5f, 0.5f), dice.between(-0.5f, 0.5f),
                                 dice.between(0.5f, 2), dice.between(0.5f, 2));
            if (!textured && kind < 3)
                continue;
            switch (kind) {
                case 0:
                case 1:
                case 2: {
                    // Textured, mostly in runs of one texture.
                    const Texture* texture = textures[kind == 0 ? 0 : dice.below(5)].get();
                    gl().draw_quad(t, corners.data(), colour, texture, tex.data());
                    break;
                }
                case 3:
                    gl().draw_quad(t, corners.data(), colour, nullptr, nullptr);
                    break;
                case 4:
                    if (dice.below(2) == 0) {
                        gl().draw_circle(t, {dice.between(-10, 10), dice.between(-10, 10)},
                                         dice.between(2, 60), colour);
                    } else {
                        const Vector2 points[5] = {
                            {-w, -h}, {w, -h * 0.5f}, {w * 1.2f, h}, {0, h * 1.5f}, {-w * 0.8f, h}};
                        gl().draw_polygon(t, points, 3 + dice.below(3), colour);
                    }
                    break;
                default:
                    gl().draw_line(t.position, t.apply({w, h}), colour);
                    break;
            }
        }
    }

    std::vector<uint8_t> render(bool batching, bool textured) {
        gl().set_batching(batching);
        gl().set_blend_state(BlendState::alpha());
        // Depth writes on, so that the frame's clear reaches the depth buffer too.
        gl().set_depth_state({false, true, 7});
        frame([&] { draw_scene(textured); });
        return frame_pixels();
    }

    std::vector<std::unique_ptr<Texture>> textures;
};

// How many pixels differ, and how many distinct colours the frame shows.
struct Comparison {
    size_t differing = 0;
    size_t colours = 0;
};

Comparison compare(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    Comparison c;
    std::vector<uint32_t> seen;
    for (size_t i = 0; i + 3 < a.size(); i += 4) {
        if (a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2]) {
            ++c.differing;
        }
        seen.push_back(uint32_t(a[i]) << 16 | uint32_t(a[i + 1]) << 8 | a[i + 2]);
    }
    std::sort(seen.begin(), seen.end());
    c.colours = static_cast<size_t>(std::unique(seen.begin(), seen.end()) - seen.begin());
    return c;
}

}  // namespace

// Every shape lands on exactly the same pixels, textured quads with the same texels: the
// rasteriser's texture-coordinate gradients follow the last bit of the window coordinates, so a
// vertex rounded otherwise anywhere in the frame shows here.
TEST_F(GLRendererBatchTest, BusyFrameIsTheSameBatchedOrNot) {
    start();
    make_textures();
    struct View {
        float x, y, angle, zoom;
    };
    // The camera still, moved by fractions of a unit, turned, and seeing more or less of the
    // world than one unit a pixel.
    for (View v : {View{0, 0, 0, 1}, View{13.25f, -7.5f, 0, 1}, View{-31.7f, 20.1f, 0.3f, 1},
                   View{5.5f, 3.1f, 0, 0.73f}, View{-2.2f, 40.9f, -1.1f, 1.37f}}) {
        camera().position = {v.x, v.y};
        camera().axis_x = {std::cos(v.angle), std::sin(v.angle)};
        camera().axis_y = {-std::sin(v.angle), std::cos(v.angle)};
        camera().notify_moved();
        camera().left = -640 * v.zoom;
        camera().right = 640 * v.zoom;
        camera().bottom = -360 * v.zoom;
        camera().top = 360 * v.zoom;
        camera().notify_projection_changed();
        for (bool textured : {false, true}) {
            const std::vector<uint8_t> batched = render(true, textured);
            const std::vector<uint8_t> single = render(false, textured);
            const Comparison c = compare(batched, single);
            EXPECT_EQ(c.differing, 0u) << "camera " << v.x << ", " << v.y << ", " << v.angle
                                       << ", zoom " << v.zoom << (textured ? " textured" : "");
            // A frame of few colours would prove nothing.
            EXPECT_GT(c.colours, textured ? 5000u : 500u);
        }
    }
}

// Shapes at the edge of the view and beyond it, each between runs of textured quads that lie
// inside: the frame is the same batched or not, what reaches into the view shows, and what lies
// wholly outside it is neither drawn nor reported.
TEST_F(GLRendererBatchTest, ShapesAtAndBeyondTheEdgeOfTheView) {
    start();
    make_textures();
    const Color white{1, 1, 1, 1}, yellow{1, 1, 0, 1};
    const auto inner_tex = box(-0.3f, 0.1f, 1.7f, 1.3f);
    enum Kind { Quad, TexturedQuad, Circle, Line };
    struct Case {
        const char* name;
        Kind kind;
        float x0, y0, x1, y1;  // a quad's box, a circle's centre and radius, a line's ends
        int probe_x, probe_y;  // a window pixel it covers, or -1 when it lies wholly outside
    };
    const Case cases[] = {
        {"quad across the left edge", Quad, -700, -20, -600, 20, 10, 360},
        {"textured quad across the top edge", TexturedQuad, -30, 330, 30, 400, 640, 715},
        {"quad greater than the view on every side", Quad, -2000, -2000, 2000, 2000, 100, 100},
        {"quad touching the right edge from inside", Quad, 600, -10, 640, 10, 1270, 360},
        {"circle over the bottom edge", Circle, 0, -380, 50, 0, 640, 2},
        {"line through the view from corner to corner", Line, -1000, -1000, 1000, 1000, 640, 360},
        {"quad beyond the right edge", Quad, 641, -20, 700, 20, -1, -1},
        {"textured quad beyond the bottom edge", TexturedQuad, -30, -500, 30, -361, -1, -1},
        {"circle beyond the left edge", Circle, -900, 0, 100, 0, -1, -1},
        {"line beyond the top edge", Line, -1000, 400, 1000, 500, -1, -1},
    };
    auto draw_shape = [&](const Case& c) {
        const auto corners = box(c.x0, c.y0, c.x1, c.y1);
        switch (c.kind) {
            case Quad:
                gl().draw_quad(Transform{}, corners.data(), yellow, nullptr, nullptr);
                break;
            case TexturedQuad:
                gl().draw_quad(Transform{}, corners.data(), white, textures[1].get(),
                               inner_tex.data());
                break;
            case Circle:
                gl().draw_circle(Transform{}, {c.x0, c.y0}, c.x1, yellow);
                break;
            case Line:
                gl().draw_line({c.x0, c.y0}, {c.x1, c.y1}, yellow);
                break;
        }
    };
    // Inner quads turned by an odd angle, so their texels fall anywhere.
    auto draw_inner = [&](int first) {
        for (int i = first; i < first + 12; ++i) {
            Transform t;
            t.position = {-560.0f + 47.3f * i, -250.0f + 41.7f * (i % 13)};
            t.set_rotation(0.37f * i);
            t.scale = 1.3f;
            const auto corners = box(-40, -25, 40, 25);
            gl().draw_quad(t, corners.data(), white, textures[0].get(), inner_tex.data());
        }
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> frames[2];
        for (bool batching : {true, false}) {
            gl().set_batching(batching);
            frame([&] {
                draw_inner(0);
                draw_shape(c);
                draw_inner(12);
            });
            if (c.probe_x >= 0) {
                const Pixel p = at(c.probe_x, c.probe_y);
                if (c.kind == TexturedQuad)
                    EXPECT_NE(p, black) << c.name << (batching ? " batched" : "");
                else
                    EXPECT_EQ(p, (Pixel{255, 255, 0, 0})) << c.name << (batching ? " batched" : "");
            }
            frames[batching] = frame_pixels();
        }
        EXPECT_EQ(compare(frames[true], frames[false]).differing, 0u) << c.name;
        if (c.probe_x < 0) {
            gl().set_batching(true);
            EXPECT_TRUE(feedback([&] { draw_shape(c); }).empty()) << c.name;
        }
    }
}

// Operations that reach OpenGL on their own come after the shapes drawn before them.
TEST_F(GLRendererBatchTest, OperationsInTheMiddleOfABatchComeAfterWhatWasDrawnBefore) {
    start();
    Image red_img, blue_img;
    red_img.width = red_img.height = blue_img.width = blue_img.height = 1;
    red_img.pixels = {255, 0, 0, 255};
    blue_img.pixels = {0, 0, 255, 255};
    Texture texture(&red_img, 0, 0, 0);
    ASSERT_TRUE(gl().upload(&texture));
    const Color white{1, 1, 1, 1};
    const auto tex = unit_tex_coords();
    const auto left = box(-300, -50, -200, 50), right = box(200, -50, 300, 50);
    const auto middle = box(-50, -50, 50, 50);
    for (bool batching : {true, false}) {
        gl().set_batching(batching);
        frame([&] {
            // New pixels for a texture that drawn quads still wait on.
            gl().draw_quad(Transform{}, left.data(), white, &texture, tex.data());
            texture.set_image(blue_img);
            gl().draw_quad(Transform{}, right.data(), white, &texture, tex.data());
            texture.set_image(red_img);
            // A clear wipes what came before it only.
            gl().draw_quad(Transform{}, middle.data(), white, nullptr, nullptr);
            gl().clear_color_buffer();
            gl().draw_quad(Transform{}, box(-640, -360, -600, -320).data(), white, nullptr,
                           nullptr);
            // The scissor cuts what comes after it only.
            gl().set_scissor(0, 0, 640, 720);
            gl().draw_quad(Transform{}, box(-640, 300, 640, 360).data(), white, nullptr, nullptr);
            gl().set_scissor(0, 0, 1280, 720);
        });
        EXPECT_EQ(at(640 - 250, 360), black) << batching;
        EXPECT_EQ(at(640 + 250, 360), black) << batching;
        EXPECT_EQ(at(640, 360), black) << batching;
        EXPECT_EQ(at(5, 5), (Pixel{255, 255, 255, 0})) << batching;
        EXPECT_EQ(at(320, 700), (Pixel{255, 255, 255, 0})) << batching;
        EXPECT_EQ(at(960, 700), black) << batching;

        frame([&] {
            gl().draw_quad(Transform{}, left.data(), white, &texture, tex.data());
            texture.set_image(blue_img);
            gl().draw_quad(Transform{}, right.data(), white, &texture, tex.data());
            texture.set_image(red_img);
        });
        EXPECT_EQ(at(640 - 250, 360), red) << batching;
        EXPECT_EQ(at(640 + 250, 360), blue) << batching;
    }
}
