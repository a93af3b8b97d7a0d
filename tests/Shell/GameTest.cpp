#include "Platform/VirtualKeys.h"
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
