// Textures, sub-textures and animations as scripts make them.
#include <GL/gl.h>

#include <array>
#include <fstream>
#include <iterator>
#include <string>

#include "Render/Registries.h"
#include "Render/Renderer.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

class TextureFunctionsTest : public EngineTest {
  protected:
    // Copies a test image into the game folder under Data/Textures/.
    void add_png(const std::string& name) {
        std::ifstream in(std::string(VELDEN_TEST_DATA) + "/png/" + name, std::ios::binary);
        write_file("Data/Textures/" + name, std::string(std::istreambuf_iterator<char>(in),
                                                        std::istreambuf_iterator<char>()));
    }

    static Texture* texture(const std::string& name) {
        return TextureRegistry::instance().find(name);
    }
    static SubTexture* subtexture(const std::string& name) {
        return SubTextureRegistry::instance().find(name);
    }
    static Animation* animation(const std::string& name) {
        return AnimationRegistry::instance().find(name);
    }
    static int32_t handle(const Texture* t) {
        return t->handle_for(Game::instance().renderer.get());
    }
};

TEST_F(TextureFunctionsTest, InitTextureDecodesTheFileAndMapsItsSettings) {
    add_png("red_over_blue.png");
    start(
        "lf = LuaFunctions()\n"
        "lf:init_texture('a', 'Data/Textures/red_over_blue.png', 0, 1, 2, 5)\n"
        "lf:init_texture('b', 'Data/Textures/red_over_blue.png', 99, 0, 1, 1)\n"
        "lf:init_texture('c', 'Data/Textures/red_over_blue.png', 1, -1, 1, 0)\n");
    struct Case {
        const char* name;
        int32_t wrap_s, wrap_t, environment;
    };
    for (Case c : {Case{"a", 1, 0, 0}, Case{"b", 0, 1, 1}, Case{"c", 0, 1, 0}}) {
        Texture* t = texture(c.name);
        ASSERT_TRUE(t) << c.name;
        EXPECT_EQ(t->wrap_s, c.wrap_s) << c.name;
        EXPECT_EQ(t->wrap_t, c.wrap_t) << c.name;
        EXPECT_EQ(t->environment, c.environment) << c.name;
        EXPECT_EQ(t->filter, 0) << c.name;
        ASSERT_TRUE(t->image()) << c.name;
        EXPECT_EQ(t->image()->width, 2);
        EXPECT_EQ(t->image()->height, 2);
        // The bottom (blue) row comes first.
        EXPECT_EQ(t->image()->pixels[2], 255);
        EXPECT_EQ(t->image()->pixels[0], 0);
        // Nothing reaches the renderer before load_resource.
        EXPECT_EQ(handle(t), 0);
    }
}

TEST_F(TextureFunctionsTest, AFileThatCannotBeLoadedStillRegistersATexture) {
    add_png("truncated.png");
    start(
        "lf = LuaFunctions()\n"
        "lf:init_texture('missing', 'Data/Textures/nothing_here.png', 0, 1, 1, 1)\n"
        "lf:init_texture('broken', 'Data/Textures/truncated.png', 0, 0, 0, 0)\n"
        "lf:init_texture('nameless', '', 0, 0, 0, 0)\n");
    for (const char* name : {"missing", "broken", "nameless"}) {
        ASSERT_TRUE(texture(name)) << name;
        EXPECT_FALSE(texture(name)->image()) << name;
    }
    EXPECT_EQ(texture("missing")->wrap_s, 1);
    // It can still be uploaded, and draws as plain colour.
    EXPECT_EQ(lua("lf:load_resource(0, 'missing')"), "");
    EXPECT_NE(handle(texture("missing")), 0);
}

TEST_F(TextureFunctionsTest, TheFirstRegistrationOfANameWins) {
    add_png("red_over_blue.png");
    add_png("rgba8.png");
    start(
        "lf = LuaFunctions()\n"
        "lf:init_texture('t', 'Data/Textures/red_over_blue.png', 0, 0, 0, 0)\n"
        "lf:init_texture('t', 'Data/Textures/rgba8.png', 0, 1, 1, 1)\n"
        "lf:init_texture('u', 'Data/Textures/rgba8.png', 0, 0, 0, 0)\n"
        "lf:init_subtexture('t', 's', 0, 0, 0.5, 0.5)\n"
        "lf:init_subtexture('u', 's', 0.5, 0.5, 1, 1)\n"
        "lf:init_animation('a', 1, 0)\n"
        "lf:init_animation('a', 2, 1)\n");
    EXPECT_EQ(TextureRegistry::instance().size(), 2u);
    EXPECT_EQ(texture("t")->image()->width, 2);
    EXPECT_EQ(texture("t")->wrap_s, 0);
    EXPECT_EQ(texture("u")->image()->width, 3);
    EXPECT_EQ(subtexture("s")->texture, texture("t"));
    EXPECT_EQ(subtexture("s")->corners[2], (Vector2{0.5f, 0.5f}));
    EXPECT_EQ(animation("a")->loop_mode, 1);
    EXPECT_EQ(animation("a")->direction, 0);
}

TEST_F(TextureFunctionsTest, SubTexturesTakeTheirCornersInQuadOrder) {
    add_png("red_over_blue.png");
    start(
        "lf = LuaFunctions()\n"
        "lf:init_texture('t', 'Data/Textures/red_over_blue.png', 0, 0, 0, 0)\n"
        "lf:init_subtexture('t', 'left', 0.25, 0.125, 0.5, 0.75)\n"
        "lf:init_subtexture('no such texture', 'orphan', 0, 0.5, 1, 1)\n");
    SubTexture* s = subtexture("left");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->texture, texture("t"));
    EXPECT_EQ(s->corners[0], (Vector2{0.25f, 0.125f}));
    EXPECT_EQ(s->corners[1], (Vector2{0.5f, 0.125f}));
    EXPECT_EQ(s->corners[2], (Vector2{0.5f, 0.75f}));
    EXPECT_EQ(s->corners[3], (Vector2{0.25f, 0.75f}));
    // An unknown texture gives a sub-texture that draws untextured, and no texture entry.
    ASSERT_TRUE(subtexture("orphan"));
    EXPECT_EQ(subtexture("orphan")->texture, nullptr);
    EXPECT_EQ(subtexture("orphan")->corners[3], (Vector2{0.0f, 1.0f}));
    EXPECT_FALSE(texture("no such texture"));
    EXPECT_EQ(TextureRegistry::instance().size(), 1u);
}

TEST_F(TextureFunctionsTest, AnimationsCollectFramesAndStartOnTheFirst) {
    start(
        "lf = LuaFunctions()\n"
        "lf:init_subtexture('none', 'f0', 0, 0, 0.5, 1)\n"
        "lf:init_subtexture('none', 'f1', 0.5, 0, 1, 1)\n"
        "lf:init_animation('walk', 2, 1)\n");
    Animation* a = animation("walk");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->loop_mode, 2);
    EXPECT_EQ(a->direction, 1);
    EXPECT_EQ(a->index, 0);
    EXPECT_EQ(a->time_left, 0.0f);
    EXPECT_TRUE(a->frames.empty());

    EXPECT_EQ(lua("lf:animation_add_frame('walk', 'f0', 0.5)"), "");
    EXPECT_EQ(a->time_left, 0.5f);
    EXPECT_EQ(lua("lf:animation_add_frame('walk', 'f1', 0.25)"), "");
    EXPECT_EQ(a->time_left, 0.5f);
    ASSERT_EQ(a->frames.size(), 2u);
    EXPECT_EQ(a->frames[0].subtexture, subtexture("f0"));
    EXPECT_EQ(a->frames[1].subtexture, subtexture("f1"));
    EXPECT_EQ(a->frames[1].duration, 0.25f);
}

TEST_F(TextureFunctionsTest, AddingAFrameWithAnAbsentNameDoesNothing) {
    start(
        "lf = LuaFunctions()\n"
        "lf:init_subtexture('none', 'f0', 0, 0, 1, 1)\n"
        "lf:init_animation('walk', 0, 0)\n"
        "lf:animation_add_frame('walk', 'no such frame', 0.5)\n"
        "lf:animation_add_frame('no such animation', 'f0', 0.5)\n"
        "lf:animation_add_frame('', '', 0.5)\n");
    EXPECT_TRUE(animation("walk")->frames.empty());
    EXPECT_EQ(animation("walk")->time_left, 0.0f);
    EXPECT_FALSE(animation("no such animation"));
    EXPECT_EQ(AnimationRegistry::instance().size(), 1u);
    EXPECT_EQ(SubTextureRegistry::instance().size(), 1u);
}

TEST_F(TextureFunctionsTest, LoadResourceUploadsARegisteredTextureOnce) {
    add_png("red_over_blue.png");
    start(
        "lf = LuaFunctions()\n"
        "lf:init_texture('t', 'Data/Textures/red_over_blue.png', 0, 0, 0, 0)\n"
        "lf:load_resource(0, 't')\n"
        "lf:load_resource(0, 't')\n");
    Renderer& renderer = *Game::instance().renderer;
    int32_t name = handle(texture("t"));
    ASSERT_NE(name, 0);
    EXPECT_TRUE(glIsTexture(GLuint(name)));
    EXPECT_EQ(texture("t")->handles().size(), 1u);
    EXPECT_EQ(renderer.resources().size(), 1u);
}

TEST_F(TextureFunctionsTest, LoadResourceWithAbsentNamesOrOtherKindsDoesNothing) {
    add_png("red_over_blue.png");
    start(
        "lf = LuaFunctions()\n"
        "lf:init_texture('t', 'Data/Textures/red_over_blue.png', 0, 0, 0, 0)\n");
    for (const char* call :
         {"lf:load_resource(0, 'absent')", "lf:load_resource(1, 'absent')",
          "lf:load_resource(1, 't')", "lf:load_resource(2, 't')", "lf:load_resource(-1, 't')",
          "lf:load_resource(2147483647, 't')", "lf:load_resource(0, '')"})
        EXPECT_EQ(lua(call), "") << call;
    EXPECT_EQ(handle(texture("t")), 0);
    EXPECT_TRUE(Game::instance().renderer->resources().empty());
    EXPECT_FALSE(texture("absent"));
    EXPECT_EQ(TextureRegistry::instance().size(), 1u);
}

TEST_F(TextureFunctionsTest, ALoadedSubTextureShowsItsPartOfThePicture) {
    add_png("red_over_blue.png");
    start(
        "lf = LuaFunctions()\n"
        "lf:init_texture('t', 'Data/Textures/red_over_blue.png', 0, 0, 0, 0)\n"
        "lf:init_subtexture('t', 'whole', 0, 0, 1, 1)\n"
        "lf:init_subtexture('t', 'top', 0, 0.5, 1, 1)\n"
        "lf:load_resource(0, 't')\n");
    Renderer& renderer = *Game::instance().renderer;
    const Vector2 left[4] = {{-300, -200}, {-100, -200}, {-100, 200}, {-300, 200}};
    const Vector2 right[4] = {{100, -200}, {300, -200}, {300, 200}, {100, 200}};
    renderer.make_current();
    ASSERT_TRUE(renderer.begin_frame());
    renderer.clear_color_buffer();
    SubTexture* whole = subtexture("whole");
    SubTexture* top = subtexture("top");
    renderer.draw_quad(Transform{}, left, Color{1, 1, 1, 1}, whole->texture, whole->corners);
    renderer.draw_quad(Transform{}, right, Color{1, 1, 1, 1}, top->texture, top->corners);
    renderer.end_frame();
    renderer.present();
    // The window's centre is the world's origin; one world unit is one pixel here. The window
    // may have no alpha channel, so only the colour is compared.
    auto colour = [this](int x, int y) {
        Pixel p = pixel(640 + x, 360 + y);
        return std::array<int, 3>{p.r, p.g, p.b};
    };
    const std::array<int, 3> red{255, 0, 0};
    const std::array<int, 3> blue{0, 0, 255};
    EXPECT_EQ(colour(-200, 100), red);
    EXPECT_EQ(colour(-200, -100), blue);
    EXPECT_EQ(colour(200, 100), red);
    EXPECT_EQ(colour(200, -100), red);
}
