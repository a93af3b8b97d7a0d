// Script errors on standard error: only when asked for, with file and line, and not once per
// frame.
#include <cstdlib>

#include "Platform/VirtualKeys.h"
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
