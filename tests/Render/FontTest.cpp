// Fonts as scripts make them: system bitmap fonts, font maps and the built-in letter tables.
#include <GL/gl.h>

#include <vector>

#include "Platform/SystemFont.h"
#include "Render/GLRendererFixture.h"
#include "Render/LetterTable.h"
#include "Render/Registries.h"
#include "Support/PngWriter.h"

class FontTest : public GLRendererFixture {
  protected:
    static BitmapFont* bitmap_font(const std::string& name) {
        return BitmapFontRegistry::instance().find(name);
    }
    int32_t handle(const Resource* r) { return r->handle_for(&gl()); }

    // Pixels of the last frame in a box whose red channel is above half.
    int ink(int x, int y, int w, int h) {
        std::vector<unsigned char> p(static_cast<size_t>(w) * h * 4);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
        int n = 0;
        for (size_t i = 0; i < p.size(); i += 4)
            n += p[i] > 128 ? 1 : 0;
        return n;
    }

    int draw_and_count(const BitmapFont& font, const char* text) {
        gl().set_screen_font(font);
        frame([&] { gl().draw_screen_text(100, 200, {1, 1, 1, 1}, text); });
        return ink(100, 190, 500, 60);
    }
};

TEST_F(FontTest, ASystemFontUploadedAsAGlyphAtlasWritesScreenText) {
    start(
        "lf = LuaFunctions()\n"
        "lf:init_font('sans', 'DejaVu Sans', -32, false, false)\n"
        "lf:init_font('bold', 'DejaVu Sans', -32, true, false)\n"
        "lf:load_resource(1, 'sans')\n"
        "lf:load_resource(1, 'bold')\n");
    BitmapFont* sans = bitmap_font("sans");
    BitmapFont* bold = bitmap_font("bold");
    ASSERT_TRUE(sans && bold);
    ASSERT_NE(handle(sans), 0);
    ASSERT_NE(handle(bold), 0);
    // Each font's letters are one texture, its handle.
    EXPECT_TRUE(glIsTexture(static_cast<GLuint>(handle(sans))));
    EXPECT_NE(handle(sans), handle(bold));

    // Nothing is written before a screen font is chosen.
    frame([&] { gl().draw_screen_text(100, 200, {1, 1, 1, 1}, "HHHH"); });
    EXPECT_EQ(ink(0, 0, 1280, 720), 0);

    const int regular = draw_and_count(*sans, "HHHH");
    EXPECT_GT(regular, 200);
    // The text starts at (100, 200): nothing left of it or far right of it.
    EXPECT_EQ(ink(0, 0, 98, 720), 0);
    EXPECT_EQ(ink(400, 0, 880, 720), 0);
    EXPECT_EQ(ink(0, 260, 1280, 460), 0);
    // A longer text has more ink, a bold face more than the regular one.
    EXPECT_GT(draw_and_count(*sans, "HHHHHHHH"), regular * 3 / 2);
    EXPECT_GT(draw_and_count(*bold, "HHHH"), regular * 6 / 5);
    // A space-only text and a text of codes without lists write nothing.
    EXPECT_EQ(draw_and_count(*sans, "    "), 0);
    EXPECT_EQ(draw_and_count(*sans, "\x01\x02\xff"), 0);

    // Releasing the font deletes its atlas and forgets it as the screen font.
    gl().set_screen_font(*sans);
    const auto atlas = static_cast<GLuint>(handle(sans));
    gl().release(sans);
    EXPECT_FALSE(glIsTexture(atlas));
    EXPECT_EQ(handle(sans), 0);
    EXPECT_EQ(gl().screen_font(), 0);
    frame([&] { gl().draw_screen_text(100, 200, {1, 1, 1, 1}, "HHHH"); });
    EXPECT_EQ(ink(0, 0, 1280, 720), 0);
}

TEST_F(FontTest, AnUnknownFaceFallsBackToTheSystemsDefault) {
    int32_t index = -1;
    EXPECT_NE(SystemFont::match("No Such Face Anywhere", false, false, &index), "");
    EXPECT_NE(SystemFont::match("DejaVu Sans", true, false, nullptr).find("Bold"),
              std::string::npos);
    start(
        "lf = LuaFunctions()\n"
        "lf:init_font('f', 'No Such Face Anywhere', 20, false, true)\n"
        "lf:init_font('huge', 'DejaVu Sans', 2147483647, false, false)\n"
        "lf:load_resource(1, 'f')\n"
        "lf:load_resource(1, 'huge')\n");
    ASSERT_TRUE(bitmap_font("f"));
    EXPECT_NE(handle(bitmap_font("f")), 0);
    EXPECT_GT(draw_and_count(*bitmap_font("f"), "HHHH"), 50);
    EXPECT_NE(handle(bitmap_font("huge")), 0);
}

TEST_F(FontTest, InitFontKeepsTheFirstOfANameAndLoadResourceNeedsTheRightKind) {
    start(
        "lf = LuaFunctions()\n"
        "lf:init_font('f', 'DejaVu Sans', 12, false, false)\n"
        "lf:init_font('f', 'DejaVu Serif', 40, true, true)\n"
        "lf:init_texture('t', 'missing.png', 0, 0, 0, 0)\n"
        "lf:load_resource(0, 'f')\n"  // a texture kind with a font's name
        "lf:load_resource(1, 't')\n"  // a font kind with a texture's name
        "lf:load_resource(1, 'nothing')\n"
        "lf:load_resource(7, 'f')\n");
    BitmapFont* f = bitmap_font("f");
    ASSERT_TRUE(f);
    EXPECT_EQ(f->face, "DejaVu Sans");
    EXPECT_EQ(f->height, 12);
    EXPECT_FALSE(f->bold);
    EXPECT_EQ(handle(f), 0);
    EXPECT_EQ(handle(TextureRegistry::instance().find("t")), 0);
    EXPECT_TRUE(gl().resources().empty());
    // The style flags are booleans, not numbers.
    EXPECT_NE(lua("lf:init_font('g', 'DejaVu Sans', 12, 1, 0)"), "");
    EXPECT_FALSE(bitmap_font("g"));
}

TEST_F(FontTest, FontMapsTakeTheFirstSubTextureOfEachLetter) {
    start(
        "lf = LuaFunctions()\n"
        "lf:init_subtexture('none', 'a1', 0, 0, 0.5, 1)\n"
        "lf:init_subtexture('none', 'a2', 0.5, 0, 1, 1)\n"
        "lf:create_font('m', 16, 8, 2, 4)\n"
        "lf:create_font('m', 1, 1, 1, 1)\n"
        "lf:add_letter_subtexture('m', 'a1', 'AB')\n"
        "lf:add_letter_subtexture('m', 'a2', 'A')\n"
        "lf:add_letter_subtexture('m', 'missing', 'B')\n"
        "lf:add_letter_subtexture('m', 'a2', '')\n"
        "lf:add_letter_subtexture('nofont', 'a2', 'C')\n"
        "lf:load_resource(0, 'm')\n");
    FontMap* m = FontMapRegistry::instance().find("m");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->letter_height, 16);
    EXPECT_EQ(m->letter_width, 8);
    EXPECT_EQ(m->letter_spacing, 2);
    EXPECT_EQ(m->line_spacing, 4);
    EXPECT_EQ(m->find('A'), SubTextureRegistry::instance().find("a1"));
    EXPECT_EQ(m->find('B'), nullptr);
    EXPECT_EQ(m->find(0), nullptr);
    EXPECT_FALSE(FontMapRegistry::instance().find("nofont"));
    // A font map is never uploaded.
    EXPECT_FALSE(gl().upload(m));
}

TEST_F(FontTest, TheBuiltInFontsAreCutFromThePicturesTheStartUpScriptRegistered) {
    Picture marker(64, 64);
    marker.fill(0, 31, 10, 1, 255, 0, 255);  // ' '
    marker.fill(12, 31, 6, 1, 255, 0, 255);  // '!'
    marker.fill(0, 63, 64, 1, 255, 0, 255);  // '"', the whole second band
    ASSERT_TRUE(write_png(dir + "/font.png", marker.image));
    ASSERT_TRUE(write_png(dir + "/small.png", Picture(256, 16).image));
    start(
        "lf = LuaFunctions()\n"
        "lf:init_texture('font', 'font.png', 0, 0, 0, 0)\n"
        "lf:load_resource(0, 'font')\n"
        "lf:init_texture('small_font', 'small.png', 0, 0, 0, 0)\n");
    const LetterTable* font = Game::instance().find_font("font");
    const LetterTable* small = Game::instance().find_font("small_font");
    ASSERT_TRUE(font);
    ASSERT_TRUE(small);
    EXPECT_EQ(font->size(), 3);
    ASSERT_TRUE(font->find('"'));
    EXPECT_FLOAT_EQ(font->find('"')->aspect, 2.0f);
    EXPECT_FLOAT_EQ(font->find('!')->u_left, 12 / 64.0f);
    EXPECT_EQ(small->size(), 64);
    EXPECT_TRUE(small->find('Z'));
    EXPECT_FALSE(small->find('a'));
    EXPECT_FALSE(Game::instance().find_font("other"));

    // The uploaded picture lost its markers too: read the texture back.
    const Texture* t = TextureRegistry::instance().find("font");
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(t->handle_for(&gl())));
    std::vector<unsigned char> texels(64 * 64 * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, gl().bound_texture());
    EXPECT_EQ(texels, t->image()->pixels);
    for (unsigned char v : texels)
        ASSERT_EQ(v, 0);
}

TEST_F(FontTest, MissingOrTooSmallPicturesGiveNoBuiltInFonts) {
    ASSERT_TRUE(write_png(dir + "/small.png", Picture(128, 16).image));
    start(
        "lf = LuaFunctions()\n"
        "lf:init_texture('small_font', 'small.png', 0, 0, 0, 0)\n");
    EXPECT_FALSE(Game::instance().find_font("font"));
    EXPECT_FALSE(Game::instance().find_font("small_font"));
    EXPECT_TRUE(Game::instance().fonts.empty());
    tick(2);
}
