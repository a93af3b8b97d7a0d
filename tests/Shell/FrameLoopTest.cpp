#include "Platform/EventPump.h"
#include "Platform/VirtualKeys.h"
#include "Shell/Game.h"
#include "Shell/Program.h"
#include "Support/EngineTest.h"

namespace {
const char* counting_escape = "frames = (frames or 0) + 1\n";
}

class FrameLoopTest : public EngineTest {};

TEST_F(FrameLoopTest, StartUpScriptThatQuitsRunsNoFrame) {
    write_file(Game::escape_script, counting_escape);
    keyboard.press(vk::escape);
    start("LuaFunctions():set_game_state(3)");
    Program::frame_loop(Game::instance(), clock);
    EXPECT_EQ(lua_number("frames"), 0);
    EXPECT_TRUE(clock.sleeps.empty());
}

TEST_F(FrameLoopTest, QuitMessageDuringAFrameCompletesThatFrame) {
    write_file(Game::escape_script, counting_escape);
    start();
    keyboard.press(vk::escape);
    int queries = 0;
    // The third frame's Escape poll posts the quit message, as closing the window would.
    keyboard.on_query = [&](int32_t) {
        if (++queries == 3)
            EventPump::post_quit();
    };
    Program::frame_loop(Game::instance(), clock);
    EXPECT_EQ(lua_number("frames"), 3);
    EXPECT_EQ(Game::instance().state, GameState::quit);
}

TEST_F(FrameLoopTest, ScriptQuitEndsTheLoopAfterThatFrame) {
    write_file(Game::escape_script,
               "frames = (frames or 0) + 1\n"
               "if frames == 5 then LuaFunctions():set_game_state(3) end\n");
    start();
    keyboard.press(vk::escape);
    Program::frame_loop(Game::instance(), clock);
    EXPECT_EQ(lua_number("frames"), 5);
    // A scripted frame takes no time: frames alternate between sleeping 10 ms (counted in the
    // next interval) and not sleeping.
    EXPECT_EQ(clock.sleeps, (std::vector<uint32_t>{10, 10, 10}));
}
