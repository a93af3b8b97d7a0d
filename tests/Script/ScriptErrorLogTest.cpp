// Script errors on standard error: only when asked for, with file and line, and not once per
// frame.
#include <cstdlib>
#include <iterator>

#include "Creatures/Player.h"
#include "Platform/VirtualKeys.h"
#include "Script/ScriptErrorLog.h"
#include "Script/ScriptHost.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

namespace {

class ScriptErrorLogTest : public EngineTest {
  protected:
    void TearDown() override {
        unsetenv("VELDEN_SCRIPT_ERRORS");
        EngineTest::TearDown();
    }
    // Standard error while frames run (the escape script runs in each while Escape is held).
    std::string stderr_of_frames(int frames) {
        testing::internal::CaptureStderr();
        tick(frames);
        return testing::internal::GetCapturedStderr();
    }
    static int count(const std::string& text, const std::string& part) {
        int n = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++n;
        return n;
    }
};

const char* const failing_escape = "local x = 1\nlocal y = nil + x\n";

}  // namespace

TEST_F(ScriptErrorLogTest, SilentByDefault) {
    write_file(Game::escape_script, failing_escape);
    testing::internal::CaptureStderr();
    start("this is not lua");
    keyboard.press(vk::escape);
    tick(5);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(ScriptErrorLogTest, EachDistinctMessageAtMostOncePerSecond) {
    setenv("VELDEN_SCRIPT_ERRORS", "1", 1);
    write_file(Game::escape_script, failing_escape);
    testing::internal::CaptureStderr();
    start("lf = LuaFunctions()\nlf:do_file('Data/Scripts/missing.lua')\nlocal a = {} + 1\n");
    const std::string init = testing::internal::GetCapturedStderr();
    // The nested script that cannot be opened and the start-up script's own error, with its
    // file and line.
    EXPECT_EQ(count(init, "script error: cannot open Data/Scripts/missing.lua"), 1) << init;
    EXPECT_EQ(count(init,
                    "script error: Data/Scripts/INIT_test.lua:3: attempt to perform "
                    "arithmetic"),
              1)
        << init;

    keyboard.press(vk::escape);
    const std::string escape_line = "script error: Data/Scripts/escape_pressed.lua:2:";
    // 50 frames in the same second: one line.
    EXPECT_EQ(count(stderr_of_frames(50), escape_line), 1);
    clock.now += 999;
    EXPECT_EQ(count(stderr_of_frames(3), escape_line), 0);
    clock.now += 1;
    EXPECT_EQ(count(stderr_of_frames(3), escape_line), 1);

    // Another message is written at once.
    write_file(Game::escape_script, "error('second problem')\n");
    const std::string other = stderr_of_frames(3);
    EXPECT_EQ(count(other, "escape_pressed.lua:1: second problem"), 1) << other;
}

TEST_F(ScriptErrorLogTest, EverNewMessagesStayBounded) {
    setenv("VELDEN_SCRIPT_ERRORS", "1", 1);
    start("lf = LuaFunctions()\n");
    // Thousands of distinct failing scripts in one second: the first ones are written, the
    // table of recent messages does not grow without end, and after a second it works again.
    testing::internal::CaptureStderr();
    ASSERT_EQ(lua("for i = 1, 3000 do lf:do_file('missing' .. i) end"), "");
    const std::string flood = testing::internal::GetCapturedStderr();
    EXPECT_GE(count(flood, "script error:"), 100);
    EXPECT_LT(count(flood, "script error:"), 3000);
    clock.now += 1000;
    testing::internal::CaptureStderr();
    ASSERT_EQ(lua("lf:do_file('missing1')"), "");
    EXPECT_EQ(count(testing::internal::GetCapturedStderr(), "cannot open missing1"), 1);
}

namespace {

// Calls that name what does not exist, one to a line of Data/Scripts/typos.lua, and the report
// each gets at level 2 (after the file and line).
struct Typo {
    const char* call;
    const char* report;
};
const Typo typos[] = {
    {"lf:create_sprite('s', 0, 'no_texture', 0, 0)", "create_sprite: no texture \"no_texture\""},
    {"lf:create_sprite('a', 1, 'no_anim', 0, 0)", "create_sprite: no animation \"no_anim\""},
    {"lf:init_subtexture('no_tex', 'sub', 0, 0, 1, 1)", "init_subtexture: no texture \"no_tex\""},
    {"lf:animation_add_frame('walk', 'no_sub', 1)",
     "animation_add_frame: no sub-texture \"no_sub\""},
    {"lf:sprite_color('hreo', 1, 1, 1, 1)", "sprite_color: no sprite \"hreo\""},
    {"lf:create_circle('c', 0, 0, 5) lf:trigger_shape('gate', 0, 'no_shape')",
     "trigger_shape: no shape \"no_shape\""},
    {"lf:trigger_upload('no_trigger', 1)", "trigger_upload: no trigger \"no_trigger\""},
    {"lf:trigger_remove(55)", "trigger_remove: no uploaded trigger with id 55"},
    {"lf:create_sound_effect('e', 'no_sound', 1, true)",
     "create_sound_effect: no sound \"no_sound\""},
    {"lf:play_sfx('Data/Sounds/none.wav')", "play_sfx: no sound file \"Data/Sounds/none.wav\""},
    {"lf:create_text('t', 'no_font', 0, 0, 0, 1)", "create_text: no font map \"no_font\""},
    {"lf:get_text_width('no_font', 'x', 1)", "get_text_width: no font \"no_font\""},
    {"lf:set_layer_visibility(9, false)", "set_layer_visibility: no layer 9"},
    {"lf:remove_gameobject_from_layer(0, 77)",
     "remove_gameobject_from_layer: no object with id 77"},
    {"lf:create_collider(1, 'no_shape', 0, 0)", "create_collider: no shape \"no_shape\""},
    {"lf:creature_speed('nobody', 2, 10)", "creature_speed: no creature \"nobody\""},
    {"lf:damage(1, 0)", "damage: no player"},
    {"lf:use_lever(31)", "use_lever: no lever with id 31"},
    {"lf:hammer_add_speed_pair(8, 1, 1)", "hammer_add_speed_pair: no hammer with id 8"},
    {"pcall(lf.sprite_rotation, lf, 'inside_pcall', 1)",
     "sprite_rotation: no sprite \"inside_pcall\""},
};

// Level 2 reports nothing for these: the names exist, or are empty ("none" in the script API).
const char* const fine_calls = R"(
    lf:create_sprite('s', 0, 'tex', 0, 0)
    lf:sprite_color('s', 1, 1, 1, 1)
    lf:create_sprite('a', 1, 'walk', 0, 0)
    lf:gameobject_upload('a', 0, 5)
    lf:remove_gameobject_from_layer(0, 5)
    lf:create_sound('snd', '', 100, 0, 0)
    lf:create_sound_effect('e', 'snd', 1, true)
    lf:create_trigger('g', 0, '', '', 0, 0)
    lf:trigger_upload('g', 3)
    lf:trigger_remove(3)
    lf:set_layer_freeze(0, true)
    lf:play_sfx('')
)";

// The common part of both scripts: a level, a texture, an animation and a gate.
const char* const setup = R"(
    lf = LuaFunctions()
    lf:create_level(0, 0, 0, 0)
    lf:create_layer(1, 1, 0)
    lf:init_texture('tex', 'missing_on_purpose.png', 0, 0, 0, 0)
    lf:init_subtexture('tex', 'frame', 0, 0, 1, 1)
    lf:init_animation('walk', 0, 0)
    lf:create_trigger('gate', 0, '', '', 0, 0)
)";

}  // namespace

TEST_F(ScriptErrorLogTest, LevelTwoReportsEachCallNamingWhatDoesNotExistAtItsLine) {
    setenv("VELDEN_SCRIPT_ERRORS", "2", 1);
    std::string script = "lf = LuaFunctions()\n";
    for (const Typo& t : typos)
        script += std::string(t.call) + "\n";
    write_file("Data/Scripts/typos.lua", script);
    testing::internal::CaptureStderr();
    start(std::string(setup) + "lf:do_file('Data/Scripts/typos.lua')\n");
    const std::string out = testing::internal::GetCapturedStderr();
    for (size_t i = 0; i < std::size(typos); ++i) {
        const std::string line = "script error: Data/Scripts/typos.lua:" + std::to_string(i + 2) +
                                 ": " + typos[i].report + "\n";
        EXPECT_EQ(count(out, line), 1) << "expected: " << line << "in:\n" << out;
    }
    // The picture that cannot be loaded, from the start-up script.
    EXPECT_EQ(count(out,
                    "script error: Data/Scripts/INIT_test.lua:5: init_texture: no PNG "
                    "picture at \"missing_on_purpose.png\""),
              1)
        << out;
    EXPECT_EQ(count(out, "script error:"), static_cast<int>(std::size(typos)) + 1) << out;
}

TEST_F(ScriptErrorLogTest, NamesThatExistOrAreEmptyAndLevelOneReportNothingOfThis) {
    setenv("VELDEN_SCRIPT_ERRORS", "2", 1);
    write_file("missing_on_purpose.png", "");
    testing::internal::CaptureStderr();
    start(std::string(setup) + fine_calls);
    tick(3);
    const std::string fine = testing::internal::GetCapturedStderr();
    // Only the picture that is not one.
    EXPECT_EQ(count(fine, "script error:"), 1) << fine;
    EXPECT_EQ(count(fine, "init_texture: no PNG picture"), 1) << fine;

    // Level 1: failed scripts only.
    setenv("VELDEN_SCRIPT_ERRORS", "1", 1);
    ScriptErrorLog::configure();
    testing::internal::CaptureStderr();
    ASSERT_EQ(lua("lf:sprite_color('hreo', 1, 1, 1, 1)\nlf:set_layer_visibility(9, false)"), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(ScriptErrorLogTest, AReportFromEveryFrameComesOncePerSecondPerLine) {
    setenv("VELDEN_SCRIPT_ERRORS", "2", 1);
    write_file("Data/Scripts/frame.lua",
               "lf:sprite_color('ghost', 1, 1, 1, 1)\n"
               "lf:sprite_color('ghost', 1, 1, 1, 1)\n");
    start("lf = LuaFunctions()\nlf:set_frame_script('Data/Scripts/frame.lua')\n");
    const std::string first = stderr_of_frames(50);
    EXPECT_EQ(count(first, "frame.lua:1: sprite_color: no sprite \"ghost\""), 1) << first;
    EXPECT_EQ(count(first, "frame.lua:2: sprite_color: no sprite \"ghost\""), 1) << first;
    EXPECT_EQ(count(first, "script error:"), 2) << first;
    clock.now += 500;
    EXPECT_EQ(count(stderr_of_frames(20), "script error:"), 0);
    clock.now += 500;
    EXPECT_EQ(count(stderr_of_frames(20), "script error:"), 2);
}

// A failing script that something ran is named with its origin; an empty path is no script and
// says nothing, however often the trigger fires.
TEST_F(ScriptErrorLogTest, FailuresNameWhatRanThemAndEmptyPathsStayQuiet) {
    setenv("VELDEN_SCRIPT_ERRORS", "1", 1);
    start(R"(
        lf = LuaFunctions()
        lf:create_level(0, 0, 0, 0)
        lf:create_layer(1, 1, 0)
        lf:create_segment(-2000, 0)
        lf:add_segment(2000, 0)
        lf:upload_segmentstrip()
        lf:init_subtexture('', 'f', 0, 0, 1, 1)
        lf:init_animation('a', 0, 0)
        lf:animation_add_frame('a', 'f', 1)
        lf:create_creature('', 0, 'a', 'a', 'a', 'a')
        lf:upload_player_to_layer(0)
        -- The player's gate: a missing enter script and no leave script.
        lf:create_trigger('me', 0, 'Data/Scripts/missing_enter.lua', '', 0, 0)
        lf:create_shape('me', 3, 10, 10)
        lf:trigger_shape('me', 0, 'me')
        lf:trigger_add_group_i_belong_to('me', 0, 'hero')
        lf:creature_trigger('', 0, 'me', 0)
        lf:add_player_trigger_to_manager()
        lf:create_trigger('post', 0, '', '', 500, 0)
        lf:create_shape('post', 3, 10, 10)
        lf:trigger_shape('post', 0, 'post')
        lf:trigger_add_group_can_use_me('post', 0, 'hero')
        lf:trigger_upload('post', 7)
        -- A timed trigger without a script and one whose script fails.
        lf:create_trigger('quiet', 2, '', '', 0, 0)
        lf:timed_trigger_repeat('quiet', 0.001, true)
        lf:trigger_upload('quiet', 8)
        lf:create_trigger('loud', 2, 'Data/Scripts/fails.lua', '', 0, 0)
        lf:timed_trigger_repeat('loud', 0.001, true)
        lf:trigger_upload('loud', 9)
        lf:do_file('')
    )");
    write_file("Data/Scripts/fails.lua", "error('timed failure')\n");
    testing::internal::CaptureStderr();
    auto& body = Game::instance().player->body;
    // In and out of the post, a second apart each time, so repeated messages are written again.
    for (int pass = 0; pass < 3; ++pass) {
        body.transform.position = {500, 0};
        tick(2);
        body.transform.position = {-500, 0};
        tick(2);
        clock.now += 1000;
    }
    const std::string text = testing::internal::GetCapturedStderr();
    EXPECT_EQ(count(text, "cannot open Data/Scripts/missing_enter.lua"), 3) << text;
    EXPECT_EQ(count(text, "[enter script of gate trigger 0]"), 3) << text;
    EXPECT_GE(count(text, "timed failure [script of timed trigger 9]"), 3) << text;
    EXPECT_EQ(count(text, "cannot open"), 3) << "an empty path is no script: " << text;
    EXPECT_EQ(count(text, "script error:"), count(text, "[")) << text;
}
