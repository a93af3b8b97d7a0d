// The worked example at the end of the script reference, run as written: its scripts are taken
// from docs/scripting.md, its pictures are stand-ins from the sample game.
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "Creatures/Player.h"
#include "Platform/VirtualKeys.h"
#include "Render/Camera.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

namespace fs = std::filesystem;

namespace {

// The files of the worked example: each "`PATH`...:" line followed by a code block.
std::map<std::string, std::string> worked_example() {
    std::ifstream in(fs::path(VELDEN_TEST_DATA) / ".." / ".." / "docs" / "scripting.md");
    std::map<std::string, std::string> files;
    bool inside = false;
    std::string path, line;
    while (std::getline(in, line)) {
        if (line.rfind("## ", 0) == 0)
            inside = line == "## Worked example";
        if (!inside)
            continue;
        if (line.rfind("`Data/", 0) == 0 && line.back() == ':') {
            path = line.substr(1, line.find('`', 1) - 1);
        } else if (!path.empty() && line.rfind("```", 0) == 0) {
            std::string code;
            while (std::getline(in, line) && line != "```")
                code += line + "\n";
            files[path] = code;
            path.clear();
        }
    }
    return files;
}

}  // namespace

class WorkedExampleTest : public EngineTest {};

TEST_F(WorkedExampleTest, ThePlayerWalksJumpsTheCrateClimbsTheStepAndTakesTheCoin) {
    const std::map<std::string, std::string> files = worked_example();
    ASSERT_EQ(files.size(), 3u);
    ASSERT_TRUE(files.count("Data/Scripts/INIT_test.lua"));
    for (const auto& [path, code] : files)
        write_file(path, code);
    const fs::path images = fs::path(VELDEN_GAME_DIR) / "Data/Images";
    fs::create_directories(fs::path(dir) / "Data/Images");
    fs::copy_file(images / "hero.png", fs::path(dir) / "Data/Images/hero.png");
    fs::copy_file(images / "coin.png", fs::path(dir) / "Data/Images/coin.png");
    fs::copy_file(images / "sky.png", fs::path(dir) / "Data/Images/crate.png");
    setenv("VELDEN_SCRIPT_ERRORS", "2", 1);
    testing::internal::CaptureStderr();
    start("", 320, 180);
    const Player& hero = *Game::instance().player;
    tick(40);
    EXPECT_EQ(hero.body.transform.position.y, -200.0f) << "fallen onto the ground";
    EXPECT_EQ(Game::instance().camera->position.x, 0.0f) << "the view at the level's left end";
    // Right into the crate, which holds the player back, then over it with a jump.
    keyboard.press(vk::right);
    tick(300);
    EXPECT_LT(hero.body.transform.position.x, 300.0f - 32.0f);
    keyboard.press(vk::up);
    tick(40);
    keyboard.release(vk::up);
    tick(400);
    EXPECT_GT(hero.body.transform.position.x, 1000.0f);
    EXPECT_EQ(hero.body.transform.position.y, -140.0f) << "up the step";
    EXPECT_EQ(Game::instance().camera->position.x, hero.body.transform.position.x);
    ASSERT_EQ(lua("points = LuaFunctions():get_points()"), "");
    EXPECT_EQ(lua_number("points"), 10);
    const std::string reported = testing::internal::GetCapturedStderr();
    unsetenv("VELDEN_SCRIPT_ERRORS");
    EXPECT_EQ(reported, "");
}
