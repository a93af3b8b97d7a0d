// Replacing the text of an uploaded text spitter, and measuring text, as scripts do it.
#include <cmath>

#include "Render/GLRendererFixture.h"
#include "Render/LetterTable.h"
#include "Scene/Hud.h"
#include "Scene/Level.h"
#include "Scene/MultilineText.h"
#include "Scene/TextPictures.h"
#include "Scene/TextSpitter.h"

namespace {

class TextScriptTest : public GLRendererFixture {
  protected:
    // A font map "m" of two letters, A red and B green, each 8 wide and 16 high with 2 between
    // letters and 4 between lines; and the proportional font "font" of the letters ' ', '!'
    // and '"', 0.25, 0.5 and 1 times as wide as high.
    void start_with_fonts(const std::string& more) {
        ASSERT_TRUE(write_png(dir + "/letters.png", two_letter_picture().image));
        ASSERT_TRUE(write_png(dir + "/font.png", marked_font_picture(false).image));
        start(
            "lf = LuaFunctions()\n"
            "lf:init_texture('font', 'font.png', 0, 0, 0, 0)\n" +
            std::string(two_letter_font_map) +
            "lf:create_level(0, 0, 0, 0)\n"
            "lf:create_layer(1, 1, 0)\n" +
            more);
    }

    // A window pixel at a world point while the camera is at the origin.
    Pixel world(float x, float y) {
        return pixel(640 + static_cast<int>(std::floor(x)), 360 + static_cast<int>(std::floor(y)));
    }

    static TextSpitter* spitter(int32_t id) {
        GameObject* object = Game::instance().level->layers[0]->find_by_id(id);
        if (auto* hud = dynamic_cast<Hud*>(object))
            object = hud->target.get();
        return dynamic_cast<TextSpitter*>(object);
    }

    double number(const std::string& expression) {
        EXPECT_EQ(lua("result = " + expression), "") << expression;
        return lua_number("result");
    }

    const Pixel red{255, 0, 0, 255}, green{0, 255, 0, 255}, black{0, 0, 0, 255};
};

}  // namespace

TEST_F(TextScriptTest, AReplacedHudTextIsDrawnAnewInTheSameFrame) {
    start_with_fonts(
        "lf:create_text('score', 'm', 0, 0, 0, 1)\n"
        "lf:add_text('score', 'A')\n"
        "lf:convert_to_hud('score')\n"
        "lf:gameobject_upload('score', 0, 7)\n");
    tick();
    EXPECT_EQ(world(0, 0), red);
    // Two lines: "AB" over "BA", the box centred where the text was.
    ASSERT_EQ(lua("lf:text_replace(0, 7, 'AB\\nBA')"), "");
    TextSpitter* text = spitter(7);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->lines, (std::vector<std::string>{"AB", "BA"}));
    EXPECT_EQ(text->letters.size(), 4u) << "a text without a period shows at once";
    EXPECT_EQ(text->corners[0], (Vector2{-9, -18}));
    EXPECT_EQ(text->corners[2], (Vector2{9, 18}));
    tick();
    EXPECT_EQ(world(-5, 10), red);
    EXPECT_EQ(world(5, 10), green);
    EXPECT_EQ(world(-5, -10), green);
    EXPECT_EQ(world(5, -10), red);
    EXPECT_EQ(world(0, 0), black) << "between the letters";

    // The HUD keeps it on the screen wherever the camera goes.
    ASSERT_EQ(lua("lf:camera_set_position(300, 200)\nlf:text_replace(0, 7, 'B')"), "");
    tick();
    EXPECT_EQ(world(0, 0), green);
    // An empty text leaves nothing to draw.
    ASSERT_EQ(lua("lf:text_replace(0, 7, '')"), "");
    tick();
    EXPECT_EQ(world(0, 0), black);
    EXPECT_TRUE(text->letters.empty());
}

TEST_F(TextScriptTest, ATypingTextTypesItsNewTextFromTheFirstLetter) {
    start_with_fonts(
        "lf:create_text('slow', 'm', 0, 0, 0.1, 1)\n"
        "lf:add_text('slow', 'AAAA')\n"
        "lf:gameobject_upload('slow', 0, 3)\n");
    tick(60);
    TextSpitter* text = spitter(3);
    ASSERT_TRUE(text);
    ASSERT_EQ(text->letters.size(), 4u);
    ASSERT_EQ(lua("lf:text_replace(0, 3, 'BB')"), "");
    EXPECT_TRUE(text->letters.empty());
    std::vector<size_t> shown;
    for (int i = 0; i < 4; ++i) {
        tick(1, 0.06f);
        shown.push_back(text->letters.size());
    }
    EXPECT_EQ(shown, (std::vector<size_t>{0, 1, 1, 2}));
}

TEST_F(TextScriptTest, OnlyTextsAreReplacedAndNothingElseChanges) {
    start_with_fonts(
        "lf:create_sprite('box', 0, '', 0, 0)\n"
        "lf:gameobject_upload('box', 0, 1)\n"
        "lf:create_text('t', 'm', 0, 0, 0, 1)\n"
        "lf:add_text('t', 'A')\n"
        "lf:gameobject_upload('t', 0, 2)\n");
    for (const char* call : {"lf:text_replace(0, 1, 'B')", "lf:text_replace(0, 9, 'B')",
                             "lf:text_replace(1, 2, 'B')", "lf:text_replace(-1, 2, 'B')"})
        EXPECT_EQ(lua(call), "") << call;
    EXPECT_EQ(spitter(2)->lines, (std::vector<std::string>{"A"}));
    EXPECT_NE(lua("lf:text_replace(0, 2)")
                  .find("bad argument #3 to 'text_replace' (string expected, got no value)"),
              std::string::npos);
}

// The size a text takes is the box a text spitter lays it out in.
TEST_F(TextScriptTest, AFontMapMeasuresTheBoxATextSpitterLaysOut) {
    start_with_fonts("");
    struct Case {
        std::vector<std::string> lines;
        float scale;
    };
    const Case cases[] = {{{"A"}, 1},
                          {{"ABC"}, 1},
                          {{"AB", "BBBBB", ""}, 1},
                          {{"ABBA"}, 2.5f},
                          {{"x", "", "y"}, 0.5f}};
    for (const Case& c : cases) {
        std::string text, adds;
        for (const std::string& line : c.lines) {
            text += (text.empty() && adds.empty() ? "" : "\\n") + line;
            adds += "lf:add_text('probe', '" + line + "')\n";
        }
        const std::string args = "'m', '" + text + "', " + std::to_string(c.scale);
        const double w = number("lf:get_text_width(" + args + ")");
        const double h = number("lf:get_text_height(" + args + ")");
        // The same lines given to a spitter of that scale, one add_text each.
        ASSERT_EQ(lua("lf:create_text('probe', 'm', 0, 0, 0, " + std::to_string(c.scale) + ")\n" +
                      adds + "lf:gameobject_upload('probe', 0, 99)"),
                  "");
        TextSpitter* probe = spitter(99);
        ASSERT_TRUE(probe);
        EXPECT_FLOAT_EQ(static_cast<float>(w), probe->corners[2].x - probe->corners[0].x) << text;
        EXPECT_FLOAT_EQ(static_cast<float>(h), probe->corners[2].y - probe->corners[0].y) << text;
        ASSERT_EQ(lua("lf:remove_gameobject(99)"), "");
    }
    EXPECT_EQ(number("lf:get_text_width('m', 'ABC', 1)"), 28);
    EXPECT_EQ(number("lf:get_text_height('m', 'ABC', 1)"), 16);
    EXPECT_EQ(number("lf:get_text_width('m', '', 1)"), 0);
    EXPECT_EQ(number("lf:get_text_height('m', '', 1)"), 0);
}

TEST_F(TextScriptTest, ALetterTableMeasuresLettersOfTheGivenHeightAsDialogsDraw) {
    start_with_fonts("");
    const LetterTable* font = Game::instance().find_font("font");
    ASSERT_TRUE(font);
    EXPECT_EQ(number("lf:get_text_width('font', '!\"', 10)"), 15);
    EXPECT_EQ(number("lf:get_text_height('font', '!\"', 10)"), 10);
    EXPECT_EQ(number("lf:get_text_width('font', '! \\n\"\"', 20)"), 40);
    EXPECT_EQ(number("lf:get_text_height('font', '! \\n\"\"', 20)"), 40);
    // A dialog line's block of the same lines, letters 20 high with no gaps, is as wide.
    MultilineText block;
    block.font = font;
    block.lines = {"! ", "\"\""};
    block.height = 20;
    EXPECT_FLOAT_EQ(block.block_width(), 40.0f);
    // A name that is no font measures nothing; the numbers stay finite.
    EXPECT_EQ(number("lf:get_text_width('nothing', 'AB', 1)"), 0);
    EXPECT_EQ(number("lf:get_text_height('nothing', 'AB', 1)"), 0);
    EXPECT_EQ(number("lf:get_text_width('m', 'AB', 1e38)"), 0) << "too large to be a number";
    EXPECT_EQ(number("lf:get_text_width('m', 'AB', 0/0)"), 0);
}
