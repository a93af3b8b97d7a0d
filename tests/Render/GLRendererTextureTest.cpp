// Texture objects of the game's renderer: upload, drawing, the bound-texture cache, pixel
// updates and who releases what.
#include "Render/GLRendererFixture.h"
#include "Render/Texture.h"

namespace {

constexpr Color white{1, 1, 1, 1};

// 2 x 2 pixels, bottom row first: red, green / blue, white.
Image four_colours() {
    Image img;
    img.width = 2;
    img.height = 2;
    img.pixels = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};
    return img;
}

Image one_pixel(uint8_t r, uint8_t g, uint8_t b) {
    Image img;
    img.width = 1;
    img.height = 1;
    img.pixels = {r, g, b, 255};
    return img;
}

GLint texture_binding() {
    GLint v = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &v);
    return v;
}

// A resource that no renderer can make anything for, as a font map.
class UnuploadableResource : public Resource {
  public:
    ~UnuploadableResource() override { release_everywhere(); }
    int32_t kind() const override { return font_map; }
};

}  // namespace

class GLRendererTextureTest : public GLRendererFixture {
  protected:
    void draw_textured(const Texture* texture, const Color& colour = white) {
        auto corners = box(-100, -100, 100, 100);
        auto tex = unit_tex_coords();
        gl().draw_quad(Transform{}, corners.data(), colour, texture, tex.data());
    }
};

TEST_F(GLRendererTextureTest, UploadingTwiceMakesOneObject) {
    start();
    Image img = four_colours();
    Texture texture(&img, 0, 0, 0);
    ASSERT_TRUE(gl().upload(&texture));
    const int32_t name = texture.handle_for(&gl());
    ASSERT_NE(name, 0);
    EXPECT_TRUE(glIsTexture(static_cast<GLuint>(name)));
    EXPECT_TRUE(gl().upload(&texture));
    EXPECT_EQ(texture.handle_for(&gl()), name);
    EXPECT_EQ(texture.handles().size(), 1u);
    ASSERT_EQ(gl().resources().size(), 1u);
    EXPECT_EQ(gl().resources()[0], &texture);
    // The next new object gets the next name: the second upload made none.
    Texture other(&img, 0, 0, 0);
    ASSERT_TRUE(gl().upload(&other));
    EXPECT_EQ(other.handle_for(&gl()), name + 1);
}

TEST_F(GLRendererTextureTest, ResourcesWithoutARendererObjectAreNotUploaded) {
    start();
    UnuploadableResource font_map;
    EXPECT_FALSE(gl().upload(&font_map));
    EXPECT_FALSE(gl().upload(nullptr));
    EXPECT_TRUE(font_map.handles().empty());
    EXPECT_TRUE(gl().resources().empty());
}

TEST_F(GLRendererTextureTest, SettingsOtherThanZeroOrOneMakeNoObject) {
    start();
    Image img = four_colours();
    Texture ok(&img, 0, 0, 0);
    ASSERT_TRUE(gl().upload(&ok));
    const uint32_t bound = gl().bound_texture();
    struct Settings {
        int32_t filter, wrap_s, wrap_t, environment;
    };
    for (Settings s : {Settings{2, 0, 0, 0}, Settings{0, -1, 0, 0}, Settings{0, 0, 2, 0},
                       Settings{0, 0, 0, 5}}) {
        Texture bad(&img, s.wrap_s, s.wrap_t, s.environment);
        bad.filter = s.filter;
        EXPECT_EQ(gl().create_texture(bad), 0u);
        EXPECT_FALSE(gl().upload(&bad));
        EXPECT_TRUE(bad.handles().empty());
        EXPECT_EQ(gl().bound_texture(), bound);
        EXPECT_EQ(texture_binding(), static_cast<GLint>(bound));
    }
    EXPECT_EQ(gl().resources().size(), 1u);
}

TEST_F(GLRendererTextureTest, SettingsBecomeTheObjectsParameters) {
    start();
    Image img = four_colours();
    struct Case {
        int32_t filter, wrap_s, wrap_t, environment;
        GLint gl_filter, gl_wrap_s, gl_wrap_t, gl_environment;
    };
    for (Case c : {Case{0, 0, 1, 0, GL_NEAREST, GL_CLAMP, GL_REPEAT, GL_MODULATE},
                   Case{1, 1, 0, 1, GL_LINEAR, GL_REPEAT, GL_CLAMP, GL_DECAL}}) {
        Texture texture(&img, c.wrap_s, c.wrap_t, c.environment);
        texture.filter = c.filter;
        ASSERT_TRUE(gl().upload(&texture));
        EXPECT_EQ(texture_binding(), texture.handle_for(&gl()));
        EXPECT_EQ(gl().bound_texture(), static_cast<uint32_t>(texture.handle_for(&gl())));
        GLint v = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &v);
        EXPECT_EQ(v, c.gl_filter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &v);
        EXPECT_EQ(v, c.gl_filter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &v);
        EXPECT_EQ(v, c.gl_wrap_s);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &v);
        EXPECT_EQ(v, c.gl_wrap_t);
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &v);
        EXPECT_EQ(v, c.gl_environment);
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        EXPECT_EQ(w, 2);
        EXPECT_EQ(h, 2);
    }
}

TEST_F(GLRendererTextureTest, TexturedQuadShowsTheImageBottomRowFirst) {
    start();
    Image img = four_colours();
    Texture texture(&img, 0, 0, 0);
    ASSERT_TRUE(gl().upload(&texture));
    frame([&] { draw_textured(&texture); });
    EXPECT_EQ(at(640 - 50, 360 - 50), red);
    EXPECT_EQ(at(640 + 50, 360 - 50), green);
    EXPECT_EQ(at(640 - 50, 360 + 50), blue);
    EXPECT_EQ(at(640 + 50, 360 + 50), (Pixel{255, 255, 255, 0}));
    // Texturing is switched off again after the quad.
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(GLRendererTextureTest, ModulateTintsAndDecalReplaces) {
    start();
    Image img = one_pixel(255, 255, 0);
    Texture modulate(&img, 0, 0, 0);
    Texture decal(&img, 0, 0, 1);
    ASSERT_TRUE(gl().upload(&modulate));
    ASSERT_TRUE(gl().upload(&decal));
    // Each texture draws with its own environment, although the decal one was made last.
    frame([&] { draw_textured(&modulate, {0, 1, 1, 1}); });
    EXPECT_EQ(at(640, 360), green);
    frame([&] { draw_textured(&decal, {0, 0, 1, 1}); });
    EXPECT_EQ(at(640, 360), (Pixel{255, 255, 0, 0}));
    frame([&] { draw_textured(&modulate, {0, 1, 1, 1}); });
    EXPECT_EQ(at(640, 360), green);
}

TEST_F(GLRendererTextureTest, TextureNeverUploadedDrawsInThePlainColour) {
    start();
    Image img = one_pixel(255, 0, 0);
    Texture uploaded(&img, 0, 0, 0);
    Texture never(&img, 0, 0, 0);
    ASSERT_TRUE(gl().upload(&uploaded));
    frame([&] {
        draw_textured(&uploaded);
        draw_textured(&never, {0, 0, 1, 1});
    });
    EXPECT_EQ(at(640, 360), blue);
    EXPECT_EQ(gl().bound_texture(), 0u);
    EXPECT_EQ(texture_binding(), 0);
}

TEST_F(GLRendererTextureTest, ConsecutiveQuadsWithOneTextureBindItOnce) {
    start();
    Image img = one_pixel(255, 0, 0);
    Texture texture(&img, 0, 0, 0);
    ASSERT_TRUE(gl().upload(&texture));
    frame([&] { draw_textured(&texture); });
    // Unbound behind the renderer's back: the cache still names it, so the next quad does not
    // bind again.
    glBindTexture(GL_TEXTURE_2D, 0);
    frame([&] { draw_textured(&texture); });
    EXPECT_EQ(texture_binding(), 0);
}

TEST_F(GLRendererTextureTest, DeletingTheCachedTextureMakesTheNextQuadBindAgain) {
    start();
    Image red_img = one_pixel(255, 0, 0), green_img = one_pixel(0, 255, 0);
    auto a = std::make_unique<Texture>(&red_img, 0, 0, 0);
    Texture b(&green_img, 0, 0, 0);
    ASSERT_TRUE(gl().upload(a.get()));
    ASSERT_TRUE(gl().upload(&b));
    const uint32_t a_name = static_cast<uint32_t>(a->handle_for(&gl()));
    frame([&] { draw_textured(a.get()); });
    ASSERT_EQ(gl().bound_texture(), a_name);
    ASSERT_EQ(at(640, 360), red);

    // Deleting another texture keeps the cache.
    Texture c(&green_img, 0, 0, 0);
    ASSERT_TRUE(gl().upload(&c));
    frame([&] { draw_textured(a.get()); });
    gl().release(&c);
    EXPECT_EQ(gl().bound_texture(), a_name);

    a.reset();
    EXPECT_EQ(gl().bound_texture(), 0u);
    EXPECT_FALSE(glIsTexture(a_name));
    // A new object may reuse the deleted name; it is bound as it is made.
    Texture again(&red_img, 0, 0, 0);
    ASSERT_TRUE(gl().upload(&again));
    frame([&] { draw_textured(&b); });
    EXPECT_EQ(texture_binding(), b.handle_for(&gl()));
    EXPECT_EQ(at(640, 360), green);
}

TEST_F(GLRendererTextureTest, NewPixelsReachTheObjectAndTheBindingIsPutBack) {
    start();
    Image red_img = one_pixel(255, 0, 0), blue_img = one_pixel(0, 0, 255);
    Texture a(&red_img, 0, 0, 0);
    Texture b(&red_img, 0, 0, 0);
    ASSERT_TRUE(gl().upload(&a));
    ASSERT_TRUE(gl().upload(&b));
    ASSERT_EQ(texture_binding(), b.handle_for(&gl()));

    a.set_image(blue_img);
    EXPECT_EQ(texture_binding(), b.handle_for(&gl()));
    EXPECT_EQ(gl().bound_texture(), static_cast<uint32_t>(b.handle_for(&gl())));
    frame([&] { draw_textured(&a); });
    EXPECT_EQ(at(640, 360), blue);

    // Replacing the pixels of the bound texture keeps it bound.
    Image bigger = four_colours();
    a.set_image(bigger);
    EXPECT_EQ(texture_binding(), a.handle_for(&gl()));
    frame([&] { draw_textured(&a); });
    EXPECT_EQ(at(640 - 50, 360 - 50), red);
    EXPECT_EQ(at(640 + 50, 360 - 50), green);
}

TEST_F(GLRendererTextureTest, ImageShortOfItsPixelsIsNotRead) {
    start();
    Image short_img;
    short_img.width = 64;
    short_img.height = 64;
    short_img.pixels.assign(16, 255);
    Texture texture(&short_img, 0, 0, 0);
    ASSERT_TRUE(gl().upload(&texture));
    GLint w = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    EXPECT_EQ(w, 0);

    Image good = one_pixel(0, 255, 0);
    texture.set_image(good);
    texture.set_image(short_img);  // keeps the green pixel
    frame([&] { draw_textured(&texture); });
    EXPECT_EQ(at(640, 360), green);
}

TEST_F(GLRendererTextureTest, WhicheverDiesFirstReleasesThePair) {
    start();
    Image img = one_pixel(255, 0, 0);
    auto first = std::make_unique<Texture>(&img, 0, 0, 0);
    Texture second(&img, 0, 0, 0);
    ASSERT_TRUE(gl().upload(first.get()));
    ASSERT_TRUE(gl().upload(&second));
    const GLuint first_name = static_cast<GLuint>(first->handle_for(&gl()));

    first.reset();
    EXPECT_FALSE(glIsTexture(first_name));
    ASSERT_EQ(gl().resources().size(), 1u);
    EXPECT_EQ(gl().resources()[0], &second);

    Game::instance().renderer.reset();
    EXPECT_TRUE(second.handles().empty());
    // The renderer left the camera as it went.
    EXPECT_TRUE(camera().listeners().empty());
}
