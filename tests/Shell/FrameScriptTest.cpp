// The frame script and the frame counter: a script run once in each frame of the running
// state, after the world has moved and the triggers have fired, before the frame is drawn.
#include "Scene/Level.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

class FrameScriptTest : public EngineTest {};

TEST_F(FrameScriptTest, RunsOncePerRunningFrameWithTheFrameNumberAsParameter) {
    write_file("Data/Scripts/frame.lua",
               "log = log .. parameter .. ','\n"
               "counted = lf:get_frame_number()\n");
    start(
        "lf = LuaFunctions()\n"
        "log = ''\n"
        "at_start = lf:get_frame_number()\n"
        "lf:set_frame_script('Data/Scripts/frame.lua')\n");
    EXPECT_EQ(lua_number("at_start"), 0) << "start-up is frame 0";
    EXPECT_EQ(lua_string("log"), "") << "start-up runs no frame script";
    tick(3);
    EXPECT_EQ(lua_string("log"), "1,2,3,");
    EXPECT_EQ(lua_number("counted"), 3);

    // Frames go on counting in the other states, but the script waits for the running state.
    for (int state : {1, 2, 3}) {
        ASSERT_EQ(lua("lf:set_game_state(" + std::to_string(state) + ")"), "");
        tick(2);
    }
    ASSERT_EQ(lua("lf:set_game_state(0)"), "");
    tick();
    EXPECT_EQ(lua_string("log"), "1,2,3,10,");
    ASSERT_EQ(lua("n = lf:get_frame_number()"), "");
    EXPECT_EQ(lua_number("n"), 10);

    // An empty path runs nothing; a new path replaces the old one, also across levels.
    ASSERT_EQ(lua("lf:set_frame_script('')"), "");
    tick(2);
    EXPECT_EQ(lua_string("log"), "1,2,3,10,");
    write_file("Data/Scripts/other.lua", "log = log .. 'o'\n");
    ASSERT_EQ(lua("lf:set_frame_script('Data/Scripts/other.lua')\nlf:create_level(0, 0, 0, 0)"),
              "");
    tick(2);
    EXPECT_EQ(lua_string("log"), "1,2,3,10,oo");
}

TEST_F(FrameScriptTest, SeesTheTriggersOfItsFrameAndWhatItMakesIsDrawnInTheSameFrame) {
    write_file("Data/Scripts/tick.lua", "fired = fired + 1\n");
    // In frame 2 the script puts a white box in the middle of the screen.
    write_file("Data/Scripts/frame.lua",
               "seen = seen .. fired .. ','\n"
               "if parameter == 2 then\n"
               "    lf:create_sprite('box', 0, '', 0, 0)\n"
               "    lf:sprite_shape('box', 0, 20, 20)\n"
               "    lf:gameobject_upload('box', 0, 1)\n"
               "end\n");
    start(
        "lf = LuaFunctions()\n"
        "fired, seen = 0, ''\n"
        "lf:create_level(0, 0, 0, 0)\n"
        "lf:create_layer(1, 1, 0)\n"
        // A timed trigger firing in every frame of 10 ms.
        "lf:create_trigger('t', 2, 'Data/Scripts/tick.lua', '', 0, 0)\n"
        "lf:timed_trigger_repeat('t', 0.01, true)\n"
        "lf:trigger_upload('t', 1)\n"
        "lf:set_frame_script('Data/Scripts/frame.lua')\n");
    tick();
    EXPECT_EQ(pixel(640, 360), (Pixel{0, 0, 0, 255}));
    tick();
    EXPECT_EQ(pixel(640, 360), (Pixel{255, 255, 255, 255}));
    tick();
    EXPECT_EQ(lua_string("seen"), "1,2,3,") << "each frame's trigger fired before the script";
}

TEST_F(FrameScriptTest, AFrameScriptMayReplaceTheLevelFailOrGoMissing) {
    write_file("Data/Scripts/frame.lua",
               "runs = runs + 1\n"
               "if runs == 2 then lf:create_level(0, 0, 0, 0) lf:create_layer(1, 1, 0) end\n"
               "if runs == 3 then error('broken') end\n"
               "if runs == 4 then lf:set_frame_script('Data/Scripts/missing.lua') end\n");
    start(
        "lf = LuaFunctions()\n"
        "runs = 0\n"
        "lf:create_level(0, 0, 0, 0)\n"
        "lf:set_frame_script('Data/Scripts/frame.lua')\n");
    const Level* first = Game::instance().level.get();
    tick(2);
    EXPECT_NE(Game::instance().level.get(), first);
    EXPECT_EQ(Game::instance().level->layer_count(), 1);
    tick(5);
    EXPECT_EQ(lua_number("runs"), 4) << "a failing script runs again; a missing one is skipped";
    EXPECT_EQ(Game::instance().frame_script, "Data/Scripts/missing.lua");
}
