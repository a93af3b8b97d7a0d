#include "Audio/Sound.h"
#include "Core/Tracked.h"
#include "Core/WalkGuard.h"
#include "Mechanisms/Trigger.h"
#include "Physics/Shape.h"
#include "Platform/VirtualKeys.h"
#include "Scene/TempLists.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

class GameTest : public EngineTest {};

TEST_F(GameTest, EscapeHeldForThirtyFramesRunsItsScriptEachFrameWithParameterZero) {
    write_file(Game::escape_script,
               "runs = (runs or 0) + 1\n"
               "params = (params or '') .. tostring(parameter)\n");
    start("parameter = 7");
    tick(3);
    EXPECT_EQ(lua_number("runs"), 0);
    keyboard.press(vk::escape);
    tick(30);
    keyboard.release(vk::escape);
    tick(5);
    EXPECT_EQ(lua_number("runs"), 30);
    EXPECT_EQ(lua_string("params"), std::string(30, '0'));
}

TEST_F(GameTest, SetGameStateAcceptsZeroToFourOnly) {
    start();
    struct Case {
        int value;
        int expected;
    };
    for (Case c : {Case{1, 1}, Case{2, 2}, Case{3, 3}, Case{0, 0}, Case{-1, 0}, Case{5, 0},
                   Case{4, 4}, Case{100, 4}, Case{-2147483647, 4}}) {
        EXPECT_EQ(lua("LuaFunctions():set_game_state(" + std::to_string(c.value) + ")"), "");
        EXPECT_EQ(static_cast<int>(Game::instance().state), c.expected) << c.value;
        EXPECT_EQ(lua("s = LuaFunctions():get_game_state()"), "");
        EXPECT_EQ(lua_number("s"), c.expected);
    }
}

TEST_F(GameTest, DialogStateWithoutADialogFallsBackToRunningInTheNextFrame) {
    start("LuaFunctions():set_game_state(4)");
    EXPECT_EQ(Game::instance().state, GameState::dialog);
    tick();
    EXPECT_EQ(Game::instance().state, GameState::running);
}

TEST_F(GameTest, DebugSwitchesAreSetByScripts) {
    start("lf = LuaFunctions()\nlf:draw_triggers(true)\nlf:draw_segments(true)");
    EXPECT_TRUE(Game::instance().draw_triggers);
    EXPECT_TRUE(Game::instance().draw_segments);
    EXPECT_EQ(lua("lf:draw_segments(false)"), "");
    EXPECT_FALSE(Game::instance().draw_segments);
    EXPECT_TRUE(Game::instance().draw_triggers);
}

TEST_F(GameTest, StateStartsRunning) {
    start("s = LuaFunctions():get_game_state()");
    EXPECT_EQ(lua_number("s"), 0);
}

TEST_F(GameTest, MissingStartUpScriptStillRunsFrames) {
    start();
    tick(3);
    EXPECT_EQ(Game::instance().state, GameState::running);
}

TEST_F(GameTest, StartUpScriptWithASyntaxErrorIsSkipped) {
    start("LuaFunctions():set_game_state(2)\nthis is not lua");
    EXPECT_EQ(Game::instance().state, GameState::running);
    tick(2);
}

TEST_F(GameTest, StartUpScriptFailingHalfwayKeepsWhatItDidBeforeTheError) {
    start("LuaFunctions():set_game_state(2)\nerror('stop')\nLuaFunctions():set_game_state(1)");
    EXPECT_EQ(Game::instance().state, GameState::frozen);
    tick(2);
    EXPECT_EQ(Game::instance().state, GameState::frozen);
}

// Objects made again under the same name, or dropped by name, are freed when the frame ends
// (never before: the script that let go of them may still be running).
TEST_F(GameTest, ObjectsReplacedOrDroppedByNameAreFreedWhenTheFrameEnds) {
    start("lf = LuaFunctions()");
    struct Case {
        const char* what;
        const char* make;  // makes the object named 'x'
        Tracked* (*find)();
        const char* drop;  // drops the name, or "" to replace the object instead
    };
    const Case cases[] = {
        {"sprite", "lf:create_sprite('x', 0, '', 0, 0)",
         [] { return static_cast<Tracked*>(TempLists::instance().game_objects.find("x")); },
         "lf:gameobject_remove_from_temp_list('x')"},
        {"text", "lf:create_text('x', '', 0, 0, 1, 1)",
         [] { return static_cast<Tracked*>(TempLists::instance().game_objects.find("x")); },
         "lf:gameobject_remove_from_temp_list('x')"},
        {"shape", "lf:create_shape('x', 0, 4, 4)",
         [] { return static_cast<Tracked*>(TempLists::instance().shapes.find("x")); },
         "lf:shape_remove_from_temp_list('x')"},
        {"circle", "lf:create_circle('x', 0, 0, 4)",
         [] { return static_cast<Tracked*>(TempLists::instance().shapes.find("x")); }, ""},
        {"trigger", "lf:create_trigger('x', 0, '', '', 0, 0)",
         [] { return static_cast<Tracked*>(TempLists::instance().triggers.find("x")); }, ""},
        {"sound", "lf:create_sound('x', 'none.wav', 10, 0, 0)",
         [] { return static_cast<Tracked*>(TempLists::instance().sounds.find("x")); },
         "lf:remove_sound_from_sounds_temp('x')"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(lua(c.make), "") << c.what;
        Tracked* first = c.find();
        ASSERT_NE(first, nullptr) << c.what;
        Ref<Tracked> old(first);
        const std::string again = *c.drop ? c.drop : c.make;
        // Many times in one frame: each earlier object waits for the frame's end.
        ASSERT_EQ(lua("for i = 1, 50 do " + again + " end"), "") << c.what;
        EXPECT_TRUE(old) << c.what;
        if (!*c.drop) {
            EXPECT_NE(c.find(), first) << c.what;
        }
        tick();
        EXPECT_FALSE(old) << c.what << " is still alive after the frame";
        EXPECT_EQ(WalkGuard::retired_count(), 0u) << c.what;
    }
}
