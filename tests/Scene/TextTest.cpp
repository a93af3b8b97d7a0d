// Entity texts, speech bubbles, their controllers and text spitters, drawn through the real
// renderer with fonts cut from generated pictures.
#include <GL/gl.h>

#include "Creatures/SuincideController.h"
#include "Render/GLRendererFixture.h"
#include "Render/LetterTable.h"
#include "Scene/ColorScalingLerpController.h"
#include "Scene/Level.h"
#include "Scene/MultilineText.h"
#include "Scene/RevealMLineTextController.h"
#include "Scene/SpeechBubble.h"
#include "Scene/Text.h"
#include "Scene/TextPictures.h"
#include "Scene/TextSpitter.h"

class TextTest : public GLRendererFixture {
  protected:
    // The start-up script registers a "font" picture of one 32-row band: ' ' is 8 pixels
    // wide, '!' 16 (solid red) and '"' 32 (solid green), so their aspects are 0.25, 0.5, 1.
    void start_with_font(const std::string& more = "") {
        ASSERT_TRUE(write_png(dir + "/font.png", marked_font_picture(true).image));
        start(
            "lf = LuaFunctions()\n"
            "lf:init_texture('font', 'font.png', 0, 0, 0, 0)\n"
            "lf:load_resource(0, 'font')\n"
            "lf:create_level(0, 0, 0, 0)\n"
            "lf:create_layer(1, 1, 0)\n" +
            more);
        font = Game::instance().find_font("font");
        ASSERT_TRUE(font);
        ASSERT_EQ(font->size(), 3);
    }

    template <class T>
    T* add(std::unique_ptr<T> object) {
        T* raw = object.get();
        Level& level = *Game::instance().level;
        level.add_object(*level.layers[0], std::move(object));
        return raw;
    }

    // A window pixel at a world point (the camera at the origin shows 1280 x 720 units).
    Pixel world(float x, float y) {
        return at(640 + static_cast<int>(std::floor(x)), 360 + static_cast<int>(std::floor(y)));
    }

    const LetterTable* font = nullptr;
};

TEST_F(TextTest, ALineIsMeasuredOverTheLettersItHas) {
    LetterTable table;
    table.set('A', Letter{nullptr, 0, 0, 0, 0, 0.5f});
    table.set('B', Letter{nullptr, 0, 0, 0, 0, 1.0f});
    Text text;
    text.text = "AB";
    EXPECT_EQ(text.width(), 0.0f) << "no font";
    text.font = &table;
    text.height = 10;
    text.letter_spacing = 2;
    EXPECT_FLOAT_EQ(text.width(), 17.0f);
    text.text = "A?B?";  // characters without letters take no room
    EXPECT_FLOAT_EQ(text.width(), 17.0f);
    text.scale = 2;
    EXPECT_FLOAT_EQ(text.width(), 34.0f);
    text.text = "";
    EXPECT_FLOAT_EQ(text.width(), 0.0f);

    MultilineText block;
    block.lines = {"A", "ABBA", ""};
    EXPECT_EQ(block.block_height(), 0.0f) << "no font";
    block.font = &table;
    block.height = 10;
    block.line_spacing = 5;
    block.scale = 3;  // widths only
    EXPECT_FLOAT_EQ(block.line_width(0), 15.0f);
    EXPECT_FLOAT_EQ(block.block_width(), 90.0f);
    EXPECT_FLOAT_EQ(block.block_height(), 40.0f);
    EXPECT_EQ(block.line_width(7), 0.0f);
}

TEST_F(TextTest, TextsArePlacedByTheirAlignmentOnTheScreen) {
    start_with_font();
    auto owned = std::make_unique<Text>();
    owned->font = font;
    owned->text = "!x\"";  // 'x' has no letter
    owned->height = 64;
    Text* text = add(std::move(owned));
    // Width 32 + 64 = 96, height 64.
    struct Case {
        int32_t h, v;
        float left, bottom;
    };
    for (Case c :
         {Case{0, 0, -48, -32}, Case{1, 1, 0, 0}, Case{2, 2, -96, -64}, Case{7, -1, 0, 0}}) {
        text->h_align = c.h;
        text->v_align = c.v;
        tick();
        const float mid = c.bottom + 32;
        EXPECT_EQ(world(c.left + 16, mid), red) << c.h << " " << c.v;
        EXPECT_EQ(world(c.left + 64, mid), green) << c.h << " " << c.v;
        EXPECT_EQ(world(c.left - 4, mid), black) << c.h << " " << c.v;
        EXPECT_EQ(world(c.left + 100, mid), black) << c.h << " " << c.v;
        EXPECT_EQ(world(c.left + 64, c.bottom + 68), black) << c.h << " " << c.v;
        // The letters' lowest row was the marker row: cleared, so nothing shows there.
        EXPECT_EQ(world(c.left + 16, c.bottom + 0.5f), black) << c.h << " " << c.v;
    }
    // Scale shrinks letters and spacing sideways only: '!' 0..16, a gap of 2, '"' 18..50.
    text->h_align = text->v_align = 1;
    text->scale = 0.5f;
    text->letter_spacing = 4;
    text->transform.position = {100, 100};
    tick();
    EXPECT_EQ(world(108, 132), red);
    EXPECT_EQ(world(117, 132), black);
    EXPECT_EQ(world(134, 132), green);
    EXPECT_EQ(world(134, 160), green);
    EXPECT_EQ(world(152, 132), black);
    // An empty text draws nothing.
    text->text = "";
    tick();
    EXPECT_EQ(world(108, 132), black);
}

TEST_F(TextTest, MultilineBlocksLayTheirLinesOutFromTheTop) {
    start_with_font();
    MultilineText block;
    block.font = font;
    block.lines = {"!", "!!", "\""};
    block.height = 10;
    block.line_spacing = 5;
    // Quads as OpenGL places them in the window: x0, y0, x1, y1 relative to the centre.
    // OpenGL reports each quad as two triangles.
    auto quads = [&] {
        std::vector<std::array<float, 4>> out;
        const auto prims = feedback([&] { block.draw(gl(), {1, 1, 1, 1}); });
        EXPECT_EQ(prims.size() % 2, 0u);
        for (size_t i = 0; i + 1 < prims.size(); i += 2) {
            float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
            for (size_t k = i; k < i + 2; ++k) {
                for (Vector2 v : prims[k].vertices) {
                    x0 = std::min(x0, v.x - 640);
                    y0 = std::min(y0, v.y - 360);
                    x1 = std::max(x1, v.x - 640);
                    y1 = std::max(y1, v.y - 360);
                }
            }
            out.push_back({x0, y0, x1, y1});
        }
        return out;
    };
    using Q = std::vector<std::array<float, 4>>;
    // Window coordinates come through the projection: equal to a thousandth.
    auto near = [](const Q& a, const Q& b) {
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); ++i)
            for (int k = 0; k < 4; ++k)
                if (std::fabs(a[i][k] - b[i][k]) > 1e-3f)
                    return false;
        return true;
    };
    // Default alignment: the block's bottom-left corner on the origin, lines left-aligned;
    // the first line's bottom is at 30 and the last one's at 0.
    EXPECT_TRUE(near(quads(), Q{{0, 30, 5, 40}, {0, 15, 5, 25}, {5, 15, 10, 25}, {0, 0, 10, 10}}));
    // Centred block, lines aligned right.
    block.h_align = block.v_align = 0;
    block.line_align = 2;
    EXPECT_TRUE(near(quads(), Q{{0, 10, 5, 20}, {-5, -5, 0, 5}, {0, -5, 5, 5}, {-5, -20, 5, -10}}));
    // Top edge on the origin, right edge on the origin, lines centred.
    block.h_align = block.v_align = 2;
    block.line_align = 0;
    EXPECT_TRUE(near(
        quads(),
        Q{{-7.5f, -10, -2.5f, 0}, {-10, -25, -5, -15}, {-5, -25, 0, -15}, {-10, -40, 0, -30}}));
    block.font = nullptr;
    EXPECT_TRUE(quads().empty());
}

TEST_F(TextTest, SpeechBubblesHaveRoundedCornersAndATailUnderThem) {
    start_with_font();
    SpeechBubble bubble;
    bubble.width = 100;
    bubble.height = 40;
    bubble.radius = 10;
    auto draw = [&] { return feedback([&] { bubble.draw(gl(), {1, 1, 1, 1}); }); };
    struct Case {
        Vector2 target;
        float tail_x;  // the tail's tip, relative to the bubble's position
    };
    for (Case c : {Case{{-1000, 0}, 15}, Case{{60, -500}, 60}, Case{{5000, 300}, 105}}) {
        bubble.tail_target = c.target;
        // The polygon of 20 points comes back as 18 triangles, then the tail.
        auto prims = draw();
        ASSERT_EQ(prims.size(), 19u);
        float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
        for (size_t i = 0; i < 18; ++i) {
            for (Vector2 v : prims[i].vertices) {
                x0 = std::min(x0, v.x - 640);
                y0 = std::min(y0, v.y - 360);
                x1 = std::max(x1, v.x - 640);
                y1 = std::max(y1, v.y - 360);
            }
        }
        EXPECT_NEAR(x0, 0, 1e-3);
        EXPECT_NEAR(x1, 120, 1e-3);
        EXPECT_NEAR(y0, 0, 1e-3);
        EXPECT_NEAR(y1, 60, 1e-3);
        const Primitive& tail = prims[18];
        ASSERT_EQ(tail.vertices.size(), 3u);
        EXPECT_NEAR(tail.vertices[1].x - 640, c.tail_x, 1e-3);
        EXPECT_NEAR(tail.vertices[1].y - 360, -10, 1e-3);
        EXPECT_NEAR(tail.vertices[0].x - 640, c.tail_x - 5, 1e-3);
        EXPECT_NEAR(tail.vertices[0].y - 360, 0, 1e-3);
    }
    // Placed, scaled and centred: the tail target is taken into the bubble's own frame.
    bubble.transform.position = {100, 50};
    bubble.transform.scale = 2;
    bubble.h_align = bubble.v_align = 0;
    bubble.tail_target = {100 + 2 * 20, -300};
    auto prims = draw();
    ASSERT_EQ(prims.size(), 19u);
    EXPECT_NEAR(prims[18].vertices[1].x - 640, 140, 1e-3);
    EXPECT_NEAR(prims[18].vertices[1].y - 360, 50 + 2 * (-20 - 10 - 10), 1e-3);
    // A narrow bubble is as wide as its radius, so the tail still has room.
    bubble.width = 0;
    bubble.transform.scale = 0;  // and a collapsed one draws without failing
    draw();

    // The bubble in a layer, white, with the tail under it.
    auto owned = std::make_unique<SpeechBubble>();
    owned->width = 100;
    owned->height = 40;
    owned->radius = 10;
    owned->tail_target = {60, -100};
    add(std::move(owned));
    tick();
    EXPECT_EQ(world(60, 30), (Pixel{255, 255, 255, 0}));
    EXPECT_EQ(world(60, -5), (Pixel{255, 255, 255, 0}));
    EXPECT_EQ(world(20, -5), black);
    EXPECT_EQ(world(1, 1), black);  // outside the rounded corner
}

TEST_F(TextTest, RevealTypesTheLinesOutOverScriptedTime) {
    start_with_font();
    auto owned = std::make_unique<MultilineText>();
    owned->font = font;
    owned->add_controller(
        std::make_unique<RevealMLineTextController>(std::vector<std::string>{"Hi", "Yo"}, 0.125f));
    MultilineText* text = add(std::move(owned));
    using L = std::vector<std::string>;
    tick(1, 0.125f);
    EXPECT_EQ(text->lines, (L{"Hi", ""})) << "two letters at the first step";
    tick(1, 0.125f);
    EXPECT_EQ(text->lines, (L{"Hi", "Y"}));
    EXPECT_EQ(text->controllers.size(), 1u);
    tick(1, 0.125f);
    EXPECT_EQ(text->lines, (L{"Hi", "Yo"}));
    EXPECT_TRUE(text->controllers.empty());

    // Several letters in one frame when the frame is longer than the period.
    auto fast = std::make_unique<MultilineText>();
    fast->add_controller(
        std::make_unique<RevealMLineTextController>(std::vector<std::string>{"Hello"}, 0.01f));
    MultilineText* quick = add(std::move(fast));
    tick(1, 0.025f);
    EXPECT_EQ(quick->lines, (L{"Hel"}));
    tick(1, 0.025f);
    EXPECT_EQ(quick->lines, (L{"Hello"}));
    EXPECT_TRUE(quick->controllers.empty());

    // A period that is no number reveals everything at once; no lines at all finish at once.
    auto odd = std::make_unique<MultilineText>();
    odd->add_controller(std::make_unique<RevealMLineTextController>(
        std::vector<std::string>{"ab", "", "c"}, std::nanf("")));
    odd->add_controller(
        std::make_unique<RevealMLineTextController>(std::vector<std::string>{}, 1.0f));
    MultilineText* instant = add(std::move(odd));
    tick();
    EXPECT_EQ(instant->lines, (L{"ab", "", "c"}));
    EXPECT_TRUE(instant->controllers.empty());
}

TEST_F(TextTest, AColourFadeIsHalfWayAtItsMidpointAndExactAtItsEnd) {
    start_with_font();
    auto owned = std::make_unique<Text>();
    owned->font = font;
    owned->text = "!";
    owned->height = 64;
    owned->set_colour(1, 1, 1, 0);
    owned->add_controller(
        std::make_unique<ColorScalingLerpController>(Color{1, 1, 1, 0}, Color{1, 1, 1, 1}, 0.5f));
    Text* text = add(std::move(owned));
    tick(1, 0.25f);
    EXPECT_EQ(text->colour, (Color{1, 1, 1, 0.5f}));
    const Pixel half = world(16, 32);
    EXPECT_NEAR(half.r, 128, 2);
    EXPECT_EQ(half.g, 0);
    tick(1, 0.25f);
    EXPECT_EQ(text->colour, (Color{1, 1, 1, 1}));
    EXPECT_TRUE(text->controllers.empty());
    EXPECT_EQ(world(16, 32), red);

    // Components below 0 are raised to 0; colours above 1 are clamped when drawn.
    text->add_controller(
        std::make_unique<ColorScalingLerpController>(Color{-3, 4, 0, 1}, Color{-1, 2, 0, 1}, 1.0f));
    tick(1, 0.5f);
    EXPECT_EQ(text->colour, (Color{0, 3, 0, 1}));
    EXPECT_EQ(world(16, 32), black);  // red x 0
    text->controllers.clear();
    text->set_colour(5, 5, 5, 5);
    tick();
    EXPECT_EQ(world(16, 32), red);
}

TEST_F(TextTest, ASelfDestructRemovesItsEntityWhenItsTimeIsUp) {
    start_with_font();
    auto owned = std::make_unique<SpeechBubble>();
    owned->add_controller(std::make_unique<SuincideController>(0.5f));
    Ref<GameObject> bubble(add(std::move(owned)));
    tick(2, 0.2f);
    EXPECT_TRUE(bubble) << "0.5 -> 0.3 -> 0.1";
    tick(1, 0.2f);
    EXPECT_FALSE(bubble);
    EXPECT_EQ(Game::instance().level->layers[0]->size(), 0u);
}

TEST_F(TextTest, AFontReplacedUnderItsNameLeavesNoDanglingTexts) {
    start_with_font();
    auto owned = std::make_unique<Text>();
    owned->font = font;
    owned->text = "!";
    owned->height = 64;
    Text* text = add(std::move(owned));
    tick();
    EXPECT_EQ(world(16, 32), red);
    Game::instance().fonts["font"] = std::make_unique<LetterTable>();
    EXPECT_FALSE(text->font);
    tick();
    EXPECT_EQ(world(16, 32), black);
}

TEST_F(TextTest, SpittersShowOneLetterPerPeriodFromTheirFontMap) {
    ASSERT_TRUE(write_png(dir + "/letters.png", two_letter_picture().image));
    start_with_font(std::string(two_letter_font_map) +
                    "lf:create_text('t', 'm', 0, 0, 0.0625, 1)\n"
                    "lf:create_text('t', 'none', 50, 50, 1, 1)\n"  // the name is taken: nothing
                    "lf:add_text('t', 'ABC')\n"
                    "lf:text_color('t', 1, 1, 0, 1)\n"
                    "lf:add_text('nobody', 'ABC')\n"
                    "lf:gameobject_upload('t', 0, 7)\n");
    auto* spitter = dynamic_cast<TextSpitter*>(Game::instance().level->find_by_id(7));
    ASSERT_TRUE(spitter);
    EXPECT_EQ(spitter->total, 3);
    EXPECT_EQ(spitter->corners[0], (Vector2{-14, -8}));
    EXPECT_EQ(spitter->corners[2], (Vector2{14, 8}));
    const Pixel yellow{255, 255, 0, 0};
    // Frames of 1/32 s with a period of 1/16 s: a letter once the countdown is below zero.
    std::vector<size_t> shown;
    for (int i = 0; i < 8; ++i) {
        tick(1, 0.03125f);
        shown.push_back(spitter->letters.size());
    }
    EXPECT_EQ(shown, (std::vector<size_t>{0, 0, 1, 1, 2, 2, 3, 3}));
    EXPECT_EQ(world(-10, 0), red);
    EXPECT_EQ(world(0, 0), green);
    EXPECT_EQ(world(10, 0), yellow) << "no letter: a plain quad in the text colour";
    EXPECT_EQ(world(0, 9), black);
    EXPECT_EQ(world(-5, 0), black);

    // A longer line widens the box; letters already shown keep their places.
    spitter->add_text("BBBBB");
    EXPECT_EQ(spitter->corners[3], (Vector2{-24, 18}));
    tick(4, 0.03125f);
    EXPECT_EQ(spitter->letters.size(), 5u);
    EXPECT_EQ(world(-10, 0), red);
    EXPECT_EQ(spitter->letters[3].offset, (Vector2{-20, 18 - 20 - 8}));
    spitter->clear();
    EXPECT_TRUE(spitter->letters.empty());
    tick();
    EXPECT_EQ(world(-10, 0), black);
}

TEST_F(TextTest, ASpitterWithoutAPeriodShowsEverythingAtOnceAndStops) {
    start_with_font(
        "lf:create_font('m', 16, 8, 2, 4)\n"
        "lf:create_text('zero', 'm', 0, 0, 0, 1)\n"
        "lf:add_text('zero', 'ABCD')\n"
        "lf:create_text('nan', 'm', 0, 0, 0/0, 1)\n"
        "lf:add_text('nan', 'ABCD')\n"
        "lf:create_text('nofont', 'missing', 0, 0, 0.1, 1)\n"
        "lf:add_text('nofont', 'ABCD')\n"
        "lf:gameobject_upload('zero', 0, 1)\n"
        "lf:gameobject_upload('nan', 0, 2)\n"
        "lf:gameobject_upload('nofont', 0, 3)\n");
    Level& level = *Game::instance().level;
    tick(3);
    auto* zero = dynamic_cast<TextSpitter*>(level.find_by_id(1));
    ASSERT_TRUE(zero);
    EXPECT_EQ(zero->letters.size(), 4u);
    auto* nofont = dynamic_cast<TextSpitter*>(level.find_by_id(3));
    ASSERT_TRUE(nofont);
    EXPECT_EQ(nofont->corners[2], (Vector2{20, 10})) << "nothing laid out";
    EXPECT_EQ(world(-5, 0), (Pixel{255, 255, 255, 0}));  // plain quads of 'zero'
}
