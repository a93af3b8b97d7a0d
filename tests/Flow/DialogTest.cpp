// Dialogs built by scripts and walked through frame by frame with scripted keys.
#include "Flow/Dialog.h"
#include "Platform/VirtualKeys.h"
#include "Scene/Level.h"
#include "Scene/MultilineText.h"
#include "Scene/SpeechBubble.h"
#include "Scene/Text.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"
#include "Support/PngWriter.h"

class DialogTest : public EngineTest {
  protected:
    // A level of two layers (bubbles, texts) and the grid font "dlg": white 8 x 8 cells.
    void start_level(const std::string& more) {
        Picture p(256, 16);
        p.fill(0, 0, 256, 16, 255, 255, 255);
        ASSERT_TRUE(write_png(dir + "/dlg.png", p.image));
        start(
            "lf = LuaFunctions()\n"
            "lf:init_texture('dlg', 'dlg.png', 0, 0, 0, 0)\n"
            "lf:load_resource(0, 'dlg')\n"
            "lf:create_dialog_font('dlg', 8, 8, 32, 64)\n"
            "lf:create_level(0, 0, 0, 0)\n"
            "lf:create_layer(1, 1, 0)\n"
            "lf:create_layer(1, 1, 0)\n" +
            more);
    }

    Dialog* dialog() { return Game::instance().dialog.get(); }
    GameState state() { return Game::instance().state; }

    template <class T>
    std::vector<T*> in_layer(int index) {
        std::vector<T*> found;
        Layer& layer = *Game::instance().level->layers[static_cast<size_t>(index)];
        for (size_t i = 0; i < layer.size(); ++i)
            if (T* t = dynamic_cast<T*>(layer.object_at(i)))
                found.push_back(t);
        return found;
    }

    // A key pressed during one frame and released before the next.
    void tap(int32_t vk) {
        keyboard.press(vk);
        tick();
        keyboard.release(vk);
        tick();
    }
};

namespace {

// Frame 0: two lines that stay for one and two advances; frame 1: a line and a question whose
// three answers lead to frames 10, 20 and 30; those end the dialog, and 30 runs a script.
const char* const conversation =
    "lf:new_dialog(0, 1, 0.1, 0.1, 0.01)\n"
    "lf:set_line_settings_1(0, 1, 1, 1, 'dlg')\n"
    "lf:set_line_settings_2(0, 4, 6, 4, 10, 0, 1)\n"
    "lf:new_frame(0, 1)\n"
    "lf:new_line(0, -300, 0, -320, -100, 1)\n"
    "lf:add_line_text('HELLO')\n"
    "lf:upload_line()\n"
    "lf:new_line(0, 100, 0, 120, -100, 2)\n"
    "lf:add_line_text('I STAY')\n"
    "lf:add_line_text('A WHILE')\n"
    "lf:upload_line()\n"
    "lf:upload_frame()\n"
    "lf:new_frame(1, -1)\n"
    "lf:new_line(0, -300, 200, -320, 100, 1)\n"
    "lf:add_line_text('WHICH ONE?')\n"
    "lf:upload_line()\n"
    "lf:set_line_settings_1(1, 1, 1, 0, 'dlg')\n"
    "lf:set_line_settings_2(1, 4, 6, 4, 10, 0, 1)\n"
    "lf:new_line(1, 0, -200, 0, -300, 0)\n"
    "lf:add_question_option('ONE', 10)\n"
    "lf:add_question_option('TWO', 20)\n"
    "lf:add_question_option('THREE', 30)\n"
    "lf:upload_question()\n"
    "lf:upload_frame()\n"
    "for _, id in ipairs({10, 20, 30}) do\n"
    "  lf:new_frame(id, -1)\n"
    "  lf:new_line(0, 0, 0, 0, -50, 1)\n"
    "  lf:add_line_text('FRAME ' .. id)\n"
    "  lf:upload_line()\n"
    "  if id == 30 then lf:frame_add_script('Data/Scripts/thirty.lua') end\n"
    "  lf:upload_frame()\n"
    "end\n";

}  // namespace

TEST_F(DialogTest, AConversationIsWalkedFrameByFrameWithTheKeys) {
    write_file("Data/Scripts/thirty.lua", "reached = (reached or 0) + 30\n");
    keyboard.press(vk::space);  // held before the dialog starts
    start_level(conversation);
    ASSERT_TRUE(dialog());
    ASSERT_EQ(dialog()->frames.size(), 5u);
    lua("lf:set_game_state(4)");
    tick();
    EXPECT_EQ(in_layer<SpeechBubble>(0).size(), 2u);
    EXPECT_EQ(in_layer<MultilineText>(1).size(), 2u);
    EXPECT_EQ(dialog()->active_lines.size(), 2u);
    tick(5);
    EXPECT_EQ(dialog()->current_frame, 0) << "a space held at the start is no advance";
    keyboard.release(vk::space);
    tick(20);  // the texts are typed out and faded in
    EXPECT_EQ(in_layer<MultilineText>(1)[1]->lines,
              (std::vector<std::string>{"I STAY", "A WHILE"}));
    EXPECT_EQ(in_layer<MultilineText>(1)[1]->colour, (Color{0, 0, 0, 1}));

    tap(vk::space);
    EXPECT_EQ(dialog()->current_frame, 1);
    ASSERT_EQ(dialog()->active_lines.size(), 2u) << "the second line stays one more advance";
    ASSERT_TRUE(dialog()->open_question);
    EXPECT_EQ(dialog()->open_question->options.size(), 3u);
    tick(20);  // the first line has faded away and removed itself
    EXPECT_EQ(in_layer<MultilineText>(1).size(), 2u);
    EXPECT_EQ(in_layer<Text>(1).size(), 3u);
    EXPECT_EQ(in_layer<SpeechBubble>(0).size(), 3u);

    std::vector<int32_t> selections;
    for (int32_t key : {vk::down, vk::down, vk::down, vk::up, vk::up}) {
        tap(key);
        selections.push_back(dialog()->selected);
    }
    EXPECT_EQ(selections, (std::vector<int32_t>{1, 2, 0, 2, 1}));
    const auto options = in_layer<Text>(1);
    EXPECT_EQ(options[1]->colour, (Color{1, 0, 0, 1}));
    EXPECT_EQ(options[0]->colour, (Color{0, 0, 0, 1}));
    tap(vk::down);  // THREE
    tap(vk::space);
    EXPECT_EQ(dialog()->current_frame, 30);
    EXPECT_EQ(lua_number("reached"), 30);
    EXPECT_FALSE(dialog()->open_question);
    EXPECT_EQ(dialog()->active_lines.size(), 1u) << "both earlier lines have gone";

    keyboard.press(vk::space);
    tick();
    EXPECT_TRUE(dialog()->finished());
    EXPECT_EQ(state(), GameState::dialog);
    keyboard.release(vk::space);
    tick();
    EXPECT_FALSE(dialog());
    EXPECT_EQ(state(), GameState::running);
    tick(30);  // every bubble and text fades out and removes itself
    EXPECT_EQ(in_layer<SpeechBubble>(0).size(), 0u);
    EXPECT_EQ(Game::instance().level->layers[1]->size(), 0u);
}

TEST_F(DialogTest, CountdownsAtTheIntegerLimitsGoAsTheirSignSays) {
    start_level(
        "lf:new_dialog(0, 1, 0.1, 0.1, 0.01)\n"
        "lf:set_line_settings_1(0, 1, 1, 1, 'dlg')\n"
        "lf:new_frame(0, 1)\n"
        "for _, c in ipairs({-2147483648, 2147483647}) do\n"
        "  lf:new_line(0, 0, 0, 0, 0, c)\n"
        "  lf:add_line_text('LINE')\n"
        "  lf:upload_line()\n"
        "end\n"
        "lf:upload_frame()\n"
        "lf:new_frame(1, -1)\n"
        "lf:upload_frame()\n"
        "lf:set_game_state(4)\n");
    ASSERT_TRUE(dialog());
    tick();
    ASSERT_EQ(dialog()->active_lines.size(), 2u);
    tick(20);  // the texts are typed out
    tap(vk::space);
    ASSERT_EQ(dialog()->active_lines.size(), 1u) << "the lowest countdown goes at once";
    EXPECT_EQ(dialog()->active_lines[0].countdown, 2147483646);
}

TEST_F(DialogTest, BubblesAndTextsAreSizedAndPlacedFromTheLineSettings) {
    start_level(
        "lf:new_dialog(0, 1, 0, 0, 0)\n"
        "lf:set_line_settings_1(0, 1, 2, 0, 'dlg')\n"
        "lf:set_line_settings_2(0, 4, 6, 4, 10, 0, 1)\n"
        "lf:new_frame(0, -1)\n"
        "lf:new_line(0, 100, 50, 0, 0, 1)\n"
        "lf:add_line_text('AB')\n"
        "lf:add_line_text('ABCD')\n"
        "lf:upload_line()\n"
        "lf:set_line_settings_1(0, 0, 0, 0, 'no such font')\n"
        "lf:new_line(0, 0, 0, 0, 0, 1)\n"
        "lf:add_line_text('UNSEEN')\n"
        "lf:upload_line()\n"
        "lf:set_line_settings_1(1, 2, 1, 0, 'dlg')\n"
        "lf:set_line_settings_2(1, 4, 6, 4, 10, 0, 1)\n"
        "lf:new_line(1, -100, -100, 0, 0, 0)\n"
        "lf:add_question_option('YES', 1)\n"
        "lf:add_question_option('MAYBE', 2)\n"
        "lf:add_question_option('NO', 3)\n"
        "lf:upload_question()\n"
        "lf:upload_frame()\n"
        "lf:set_game_state(4)\n");
    tick(2);
    const auto bubbles = in_layer<SpeechBubble>(0);
    const auto blocks = in_layer<MultilineText>(1);
    const auto options = in_layer<Text>(1);
    ASSERT_EQ(bubbles.size(), 3u);
    ASSERT_EQ(blocks.size(), 2u);
    ASSERT_EQ(options.size(), 3u);
    // Two lines of 10-unit square letters, 40 wide and 10 + 4 + 10 high, with a margin of 6.
    EXPECT_FLOAT_EQ(bubbles[0]->width, 52);
    EXPECT_FLOAT_EQ(bubbles[0]->height, 36);
    EXPECT_EQ(bubbles[0]->h_align, 1);
    EXPECT_EQ(bubbles[0]->v_align, 2);
    EXPECT_FLOAT_EQ(bubbles[0]->radius, 4);
    // Mode 1 puts the text radius + margin right of the anchor, vertical mode 2 that far below.
    EXPECT_EQ(blocks[0]->transform.position, (Vector2{110, 40}));
    EXPECT_EQ(blocks[0]->h_align, 1);
    EXPECT_EQ(blocks[0]->v_align, 2);
    // Without a font the text has no height: the bubble is twice the margin high.
    EXPECT_FLOAT_EQ(bubbles[1]->height, 12);
    EXPECT_FLOAT_EQ(bubbles[1]->width, 12);
    // The question: MAYBE is widest (50); three rows of 10 with gaps of 4.
    EXPECT_FLOAT_EQ(bubbles[2]->width, 62);
    EXPECT_FLOAT_EQ(bubbles[2]->height, 3 * 10 + 12 + 2 * 4);
    // Mode 2 / 1: dx = 10 - (50 + 12 + 8), dy = (30 + 12 + 8 + 8) - 10, then one row per option.
    EXPECT_EQ(options[0]->transform.position, (Vector2{-100 - 60, -100 + 48}));
    EXPECT_EQ(options[2]->transform.position, (Vector2{-100 - 60, -100 + 48 - 28}));
    EXPECT_EQ(options[0]->colour, (Color{1, 0, 0, 1})) << "the first option starts selected";
}

TEST_F(DialogTest, OpenPointsEndOrSkipInsteadOfFailing) {
    start_level(
        "lf:upload_frame()\n"                     // no dialog yet: nothing
        "lf:new_dialog(5, 1, 0.1, 0.1, 0.1)\n");  // no layer 5: nothing
    EXPECT_FALSE(dialog());
    // A question without options moves on to the frame's next when answered.
    lua("lf:new_dialog(0, 1, 0, 0, 0)\n"
        "lf:new_frame(0, 7)\n"
        "lf:set_line_settings_1(1, 1, 1, 0, 'dlg')\n"
        "lf:upload_question()\n"
        "lf:upload_frame()\n"
        "lf:set_game_state(4)\n");
    tick();
    ASSERT_TRUE(dialog());
    ASSERT_TRUE(dialog()->open_question);
    tap(vk::down);
    EXPECT_EQ(dialog()->selected, 0);
    keyboard.press(vk::space);
    tick();
    // Frame 7 does not exist: the dialog ends, and the game runs again on the next frame.
    ASSERT_TRUE(dialog());
    EXPECT_TRUE(dialog()->finished());
    keyboard.release(vk::space);
    tick();
    EXPECT_FALSE(dialog());
    EXPECT_EQ(state(), GameState::running);
    // A dialog whose first frame is missing ends at once.
    lua("lf:new_dialog(0, 1, 0, 0, 0)\n"
        "lf:new_frame(3, -1)\n"
        "lf:upload_frame()\n"
        "lf:set_game_state(4)\n");
    tick(2);
    EXPECT_FALSE(dialog());
    EXPECT_EQ(state(), GameState::running);
}

TEST_F(DialogTest, AFrameScriptMayReplaceTheDialogOrTheLevel) {
    write_file("Data/Scripts/new_dialog.lua",
               "lf:new_dialog(0, 1, 0, 0, 0)\n"
               "lf:new_frame(0, -1)\n"
               "lf:new_line(0, 0, 0, 0, 0, 1)\n"
               "lf:add_line_text('SECOND')\n"
               "lf:upload_line()\n"
               "lf:upload_frame()\n");
    write_file("Data/Scripts/new_level.lua",
               "lf:create_level(0, 0, 0, 0)\n"
               "lf:create_layer(1, 1, 0)\n"
               "lf:create_layer(1, 1, 0)\n"
               "lf:new_frame(2, -1)\n"
               "lf:upload_frame()\n");  // moves the frames the step is reading
    start_level(
        "lf:set_line_settings_1(0, 1, 1, 1, 'dlg')\n"
        "lf:new_dialog(0, 1, 0, 0, 0)\n"
        "lf:new_frame(0, -1)\n"
        "lf:frame_add_script('Data/Scripts/new_dialog.lua')\n"
        "lf:new_line(0, 0, 0, 0, 0, 1)\n"
        "lf:add_line_text('FIRST')\n"
        "lf:upload_line()\n"
        "lf:upload_frame()\n"
        "lf:set_game_state(4)\n");
    Dialog* first = dialog();
    tick();
    ASSERT_TRUE(dialog());
    EXPECT_NE(dialog(), first);
    EXPECT_EQ(in_layer<SpeechBubble>(0).size(), 0u) << "the replaced dialog stopped its step";
    tick();
    ASSERT_EQ(in_layer<MultilineText>(1).size(), 1u);
    tick(5);
    EXPECT_EQ(in_layer<MultilineText>(1)[0]->lines, (std::vector<std::string>{"SECOND"}));

    // Now a frame script that replaces the level under the dialog.
    lua("lf:new_dialog(0, 1, 0, 0, 0)\n"
        "lf:new_frame(0, 1)\n"
        "lf:frame_add_script('Data/Scripts/new_level.lua')\n"
        "lf:new_line(0, 0, 0, 0, 0, 1)\n"
        "lf:add_line_text('GONE')\n"
        "lf:upload_line()\n"
        "lf:upload_frame()\n"
        "lf:new_frame(1, -1)\n"
        "lf:new_line(0, 0, 0, 0, 0, 1)\n"
        "lf:add_line_text('LATER')\n"
        "lf:upload_line()\n"
        "lf:upload_frame()\n");
    Level* old_level = Game::instance().level.get();
    tick();
    EXPECT_NE(Game::instance().level.get(), old_level);
    EXPECT_EQ(in_layer<SpeechBubble>(0).size(), 0u) << "the new level shows nothing";
    ASSERT_TRUE(dialog());
    EXPECT_EQ(dialog()->frames.size(), 3u);
    tick();  // the dialog reads the keys from its second frame on
    tap(vk::space);
    tap(vk::space);
    EXPECT_FALSE(dialog());
    EXPECT_EQ(state(), GameState::running);
}
