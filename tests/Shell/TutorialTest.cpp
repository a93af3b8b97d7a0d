// The tutorial (docs/tutorial.md) and its game (tutorial/): every file the text shows is the
// repository's file, each step's game works as the text says when played with the game's key
// timeline, and velden-run plays the finished game through to its end.
#include <SDL_mixer.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Audio/MusicEngine.h"
#include "Creatures/MovingCreature.h"
#include "Creatures/Player.h"
#include "Mechanisms/Door.h"
#include "Mechanisms/TriggerManager.h"
#include "Physics/SegmentStrip.h"
#include "Platform/VirtualKeys.h"
#include "Render/Camera.h"
#include "Scene/Hud.h"
#include "Scene/Level.h"
#include "Scene/TextSpitter.h"
#include "Shell/Game.h"
#include "Shell/KeyTimeline.h"
#include "Support/EngineTest.h"

namespace fs = std::filesystem;

namespace {

const fs::path repository = fs::path(VELDEN_TEST_DATA) / ".." / "..";
const fs::path tutorial_text = repository / "docs" / "tutorial.md";
const fs::path tutorial_game = repository / "tutorial";

std::string read_all(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The files the tutorial's text builds, by path in the game folder: "`PATH`:" before a code
// block gives the whole file, "Add to the end of `PATH`:" appends the block. Problems (a file
// shown whole twice, a start-up line marked for another step) go to faults.
struct Reading {
    std::map<std::string, std::string> files;
    std::vector<std::string> faults;
};

// The path in "`PATH`:" or "Add to the end of `PATH`:", or "" for another line.
std::string quoted_path(const std::string& line, const std::string& before) {
    if (line.rfind(before + "`", 0) != 0 || line.size() < before.size() + 4 ||
        line.compare(line.size() - 2, 2, "`:") != 0)
        return {};
    const std::string path = line.substr(before.size() + 1, line.size() - before.size() - 3);
    return path.find('`') == std::string::npos ? path : std::string();
}

// The N of a line ending in "-- step N", or 0.
int step_mark(const std::string& line) {
    const std::string mark = "-- step ";
    const size_t at = line.rfind(mark);
    if (at == std::string::npos || at + mark.size() == line.size())
        return 0;
    const std::string number = line.substr(at + mark.size());
    return number.find_first_not_of("0123456789") == std::string::npos ? std::stoi(number) : 0;
}

Reading read_tutorial(const std::string& text) {
    Reading r;
    std::istringstream in(text);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    const std::string step_heading = "## Step ";
    int step = 0;
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].rfind(step_heading, 0) == 0) {
            step = std::atoi(lines[i].c_str() + step_heading.size());
            continue;
        }
        std::string path = quoted_path(lines[i], "");
        const bool is_whole = !path.empty();
        if (!is_whole)
            path = quoted_path(lines[i], "Add to the end of ");
        if (path.empty() || lines[i + 1].rfind("```", 0) != 0)
            continue;
        std::string block;
        size_t j = i + 2;
        for (; j < lines.size() && lines[j] != "```"; ++j) {
            const int mark = step_mark(lines[j]);
            if (mark != 0 && mark != step)
                r.faults.push_back(path + ": \"" + lines[j] + "\" is shown in step " +
                                   std::to_string(step));
            block += lines[j] + "\n";
        }
        if (j == lines.size())
            r.faults.push_back(path + ": its code block does not end");
        if (is_whole && r.files.count(path))
            r.faults.push_back(path + " is shown whole twice");
        r.files[path] = (is_whole ? std::string() : r.files[path]) + block;
        i = j;
    }
    return r;
}

// The start-up script of the game as it is after a step: lines marked "-- step N" stay up to
// that step, unmarked lines always.
std::string init_after_step(int step) {
    std::istringstream in(read_all(tutorial_game / "Data/Scripts/INIT_test.lua"));
    std::string out;
    for (std::string line; std::getline(in, line);)
        if (step_mark(line) <= step)
            out += line + "\n";
    return out;
}

}  // namespace

TEST(TutorialText, ShowsEveryScriptOfItsGameExactlyAsTheRepositoryHasIt) {
    const std::string text = read_all(tutorial_text);
    ASSERT_FALSE(text.empty()) << tutorial_text;
    const Reading r = read_tutorial(text);
    for (const std::string& fault : r.faults)
        ADD_FAILURE() << fault;
    for (const auto& [path, content] : r.files) {
        const fs::path file = tutorial_game / path;
        ASSERT_TRUE(fs::exists(file))
            << "the tutorial shows " << path << ", which is not in tutorial/";
        EXPECT_EQ(content, read_all(file))
            << path << " in docs/tutorial.md differs from tutorial/" << path;
    }
    // Every script and text file of the game is shown.
    size_t shown = 0;
    for (const auto& entry : fs::recursive_directory_iterator(tutorial_game)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".lua" && ext != ".txt")
            continue;
        const std::string path = fs::relative(entry.path(), tutorial_game).string();
        EXPECT_TRUE(r.files.count(path)) << path << " is not shown in docs/tutorial.md";
        ++shown;
    }
    EXPECT_GE(shown, 20u);
    // Every step has its screenshot.
    for (int step = 1; step <= 12; ++step) {
        char name[32];
        std::snprintf(name, sizeof name, "tutorial/step%02d.png", step);
        EXPECT_NE(text.find(std::string("(") + name + ")"), std::string::npos) << name;
        EXPECT_TRUE(fs::exists(repository / "docs" / name)) << name;
    }
}

// The reading itself, on a text written for the test.
TEST(TutorialText, WholeFilesAndAdditionsAreReadInOrder) {
    const Reading r = read_tutorial(
        "## Step 1: one\n"
        "`a.lua`:\n```lua\nx = 1 -- step 1\n```\n"
        "`b.txt`:\n```\nhello\n```\n"
        "## Step 2: two\n"
        "Add to the end of `a.lua`:\n```lua\ny = 2 -- step 2\n```\n"
        "Add to the end of `a.lua`:\n```lua\nz = 3 -- step 1\n```\n"
        "`b.txt`:\n```\nagain\n```\n");
    EXPECT_EQ(r.files.at("a.lua"), "x = 1 -- step 1\ny = 2 -- step 2\nz = 3 -- step 1\n");
    EXPECT_EQ(r.files.at("b.txt"), "again\n");
    ASSERT_EQ(r.faults.size(), 2u);
    EXPECT_NE(r.faults[0].find("shown in step 2"), std::string::npos) << r.faults[0];
    EXPECT_NE(r.faults[1].find("shown whole twice"), std::string::npos) << r.faults[1];
}

// The game after each step, played in the engine with the game's own key timeline.
class TutorialStepTest : public EngineTest {
  protected:
    // The game after the step in a window of that size (small where no pixel is looked at:
    // the frames draw faster).
    void play_step(int step, int32_t width = 320, int32_t height = 180) {
        fs::copy(tutorial_game, dir,
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        write_file(Game::init_script, init_after_step(step));
        std::ifstream keys(tutorial_game / "playthrough.txt");
        std::string error;
        ASSERT_TRUE(timeline.parse(keys, error)) << error;
        start("", width, height);
    }
    // Runs frames up to and including `last`, the timeline's keys changing before each.
    void run_to(int64_t last) {
        for (; frame < last;) {
            ++frame;
            for (const KeyTimeline::Change& c : timeline.changes()) {
                if (c.frame != frame || c.pad)
                    continue;
                if (c.down)
                    keyboard.press(c.code);
                else
                    keyboard.release(c.code);
            }
            tick();
        }
    }
    static Player& hero() { return *Game::instance().player; }
    static Vector2 feet() { return hero().body.transform.position; }
    static Level& level() { return *Game::instance().level; }
    double number(const std::string& expression) {
        EXPECT_EQ(lua("result = " + expression), "") << expression;
        return lua_number("result");
    }
    // The text of a HUD line by its id in the HUD layer (3).
    std::string hud_text(int32_t id) {
        auto* hud = dynamic_cast<Hud*>(level().layers[3]->find_by_id(id));
        auto* text = hud ? dynamic_cast<TextSpitter*>(hud->target.get()) : nullptr;
        return text && !text->lines.empty() ? text->lines[0] : "(none)";
    }

    KeyTimeline timeline;
    int64_t frame = 0;
};

TEST_F(TutorialStepTest, Step1MakesALevelWithASky) {
    play_step(1, 1280, 720);
    run_to(2);
    ASSERT_TRUE(Game::instance().level);
    EXPECT_EQ(level().layer_count(), 4);
    const Pixel top = pixel(640, 710), low = pixel(640, 100);
    EXPECT_NE(top, (Pixel{0, 0, 0, 255})) << "the sky fills the screen";
    EXPECT_NE(top, low) << "a gradient";
    EXPECT_EQ(Game::instance().camera->position, (Vector2{0, 0}));
}

TEST_F(TutorialStepTest, Step2PutsHillsWallsAndTheViewOverTheWorldsLeftEnd) {
    play_step(2, 1280, 720);
    run_to(2);
    EXPECT_EQ(Game::instance().camera->position, (Vector2{640, 0}));
    EXPECT_EQ(level().colliders.size(), 2u) << "the walls at both ends";
    const Pixel hills = pixel(640, 250);
    EXPECT_GT(hills.g, hills.b) << hills;
}

TEST_F(TutorialStepTest, Step3LaysGroundWithSlopesFromLeftToRight) {
    play_step(3, 1280, 720);
    run_to(2);
    ASSERT_EQ(level().segment_strips.size(), 1u);
    const SegmentStrip& strip = *level().segment_strips[0];
    ASSERT_EQ(strip.segments.size(), 5u);
    float rises = 0;
    for (const Segment& s : strip.segments) {
        EXPECT_LT(s.start.x, s.end.x) << "left to right";
        rises += std::abs(s.end.y - s.start.y);
    }
    EXPECT_EQ(rises, 200.0f) << "up 100 and down 100";
    // Turf and dirt at the bottom of the screen, sky at the top.
    const Pixel ground = pixel(300, 30);
    EXPECT_GT(ground.r, ground.b) << ground;
}

TEST_F(TutorialStepTest, Step4ThePlayerLandsWalksAtItsSpeedAndJumpsAboutHisHeightTwice) {
    play_step(4);
    run_to(25);
    ASSERT_TRUE(Game::instance().player);
    EXPECT_TRUE(hero().body.ground) << "landed";
    EXPECT_EQ(feet().y, -240.0f);
    // Held from frame 20: after a fifth of a second it walks at nearly 250 units a second.
    run_to(60);
    const float x = feet().x;
    run_to(80);
    EXPECT_NEAR((feet().x - x) / 0.2f, 250.0f, 30.0f);
    // The jump for the first coin rises about 156 units.
    run_to(379);
    float highest = feet().y;
    for (int64_t f = 380; f < 460; ++f) {
        run_to(f);
        highest = std::max(highest, feet().y);
    }
    EXPECT_NEAR(highest - -240.0f, 156.0f, 8.0f);
    EXPECT_EQ(Game::instance().camera->position.x, 640.0f) << "no camera binder yet";
}

TEST_F(TutorialStepTest, Step5TheCameraFollowsThePlayerAndKeepsTheViewInsideTheWorld) {
    play_step(5);
    run_to(30);
    EXPECT_EQ(Game::instance().camera->position.x, 640.0f) << "the view stops at the left end";
    run_to(700);
    EXPECT_GT(feet().x, 1000.0f);
    EXPECT_EQ(Game::instance().camera->position.x, feet().x);
    EXPECT_EQ(Game::instance().camera->position.y, 0.0f) << "the world is one screen high";
}

TEST_F(TutorialStepTest, Step6ACoinGivesTenPointsOnceAndTheHudShowsThem) {
    play_step(6);
    run_to(300);
    EXPECT_EQ(hud_text(1), "POINTS    0");
    EXPECT_NE(level().find_by_id(101), nullptr);
    run_to(460);
    EXPECT_EQ(number("lf:get_points()"), 10);
    EXPECT_EQ(hud_text(1), "POINTS   10");
    EXPECT_EQ(level().find_by_id(101), nullptr) << "the coin's sprite is gone";
    for (Trigger* t : Game::instance().triggers->triggers())
        EXPECT_NE(t->id, 101) << "and its gate";
    run_to(1000);
    EXPECT_EQ(number("lf:get_points()"), 30) << "the plateau's two coins";
    EXPECT_EQ(hud_text(1), "POINTS   30");
}

TEST_F(TutorialStepTest, Step7TheWaspPatrolsStingsAndADeadPlayerStartsAgain) {
    play_step(7);
    run_to(700);
    auto* wasp = dynamic_cast<MovingCreature*>(level().find_by_id(201));
    ASSERT_TRUE(wasp);
    const float wasp_x = wasp->body.transform.position.x;
    EXPECT_EQ(hud_text(2), "HEALTH ##########");
    // Crossing the plateau the player meets the wasp and loses some health.
    double lowest = 3;
    for (int64_t f = 701; f <= 1060; ++f) {
        run_to(f);
        lowest = std::min(lowest, number("lf:get_player_hp()"));
    }
    EXPECT_NE(wasp->body.transform.position.x, wasp_x) << "it patrols";
    EXPECT_LT(lowest, 3.0);
    EXPECT_GT(lowest, 0.0);
    // The HUD shows the engine's hit points, a "#" for each tenth (rounded up).
    ASSERT_EQ(lua("lf:damage(2, 0)"), "");
    run_to(frame + 50);
    ASSERT_EQ(lua("lf:damage(0, 2)"), "");
    run_to(frame + 1);
    const double hp = number("lf:get_player_hp()");
    EXPECT_NEAR(hp, 2.0, 0.1);
    const int tenths = static_cast<int>(std::ceil(10 * hp / 3));
    EXPECT_EQ(hud_text(2), "HEALTH " + std::string(tenths, '#') + std::string(10 - tenths, ' '));
    // A player whose hit points run out dies and stands at the start again, whole.
    ASSERT_EQ(lua("lf:damage(100, 0)"), "");
    run_to(frame + 10);
    EXPECT_EQ(hero().state, Player::dead);
    EXPECT_EQ(hud_text(2), "HEALTH " + std::string(10, ' '));
    run_to(frame + 60);
    EXPECT_NE(hero().state, Player::dead);
    EXPECT_EQ(feet().x, 160.0f);
    EXPECT_EQ(number("lf:get_player_hp()"), 3);
    EXPECT_TRUE(dynamic_cast<MovingCreature*>(level().find_by_id(201))) << "a new wasp";
}

TEST_F(TutorialStepTest, Step8TheDoorBlocksUntilTheLeverOpensIt) {
    play_step(8);
    auto* door = dynamic_cast<Door*>(level().find_by_id(301));
    ASSERT_TRUE(door);
    run_to(1260);
    EXPECT_TRUE(door->closed());
    // Held against the door instead of stopping at the lever, the player does not pass.
    keyboard.press(vk::right);
    tick(100);
    EXPECT_LT(feet().x, 2600.0f);
    EXPECT_GT(feet().x, 2500.0f);
    // The timeline's way: back at the lever, space, and on through the door.
    ASSERT_EQ(lua("lf:creature_translation('hero', 0, 2420, -240)"), "");
    run_to(1300);
    EXPECT_FALSE(door->closed());
    run_to(1560);
    EXPECT_GT(feet().x, 2800.0f);
}

TEST_F(TutorialStepTest, Step9SpaceAtTheSignpostStartsADialogThatTheTimelineAnswers) {
    play_step(9);
    run_to(109);
    EXPECT_EQ(Game::instance().state, GameState::running);
    run_to(112);
    EXPECT_EQ(Game::instance().state, GameState::dialog);
    ASSERT_TRUE(Game::instance().dialog);
    run_to(299);
    EXPECT_EQ(Game::instance().state, GameState::running) << "answered and closed";
    EXPECT_FALSE(Game::instance().dialog);
}

TEST_F(TutorialStepTest, Step10ACoinChimesAndBirdsSingNearTheStart) {
    play_step(10);
    ASSERT_TRUE(Game::instance().music->ready());
    Mix_Chunk* chime = Mix_LoadWAV("Data/Sounds/coin.wav");
    ASSERT_TRUE(chime);
    const Uint32 chime_length = chime->alen;
    Mix_FreeChunk(chime);
    auto chiming = [&] {
        for (int channel = 0; channel < MusicEngine::max_channels; ++channel)
            if (Mix_Playing(channel) && Mix_GetChunk(channel)->alen == chime_length)
                return true;
        return false;
    };
    run_to(400);
    EXPECT_FALSE(chiming());
    bool chimed = false;
    for (int64_t f = 401; f <= 460 && !chimed; ++f) {
        run_to(f);
        chimed = chiming();
    }
    EXPECT_TRUE(chimed);
    EXPECT_EQ(number("lf:get_points()"), 10);
}

TEST_F(TutorialStepTest, Step11TheTimelinePlaysThroughToTheFlagAndTheGameEnds) {
    play_step(11);
    while (frame < 2500 && Game::instance().state != GameState::quit)
        run_to(frame + 1);
    EXPECT_EQ(Game::instance().state, GameState::quit);
    EXPECT_NEAR(static_cast<double>(frame), 1769.0, 30.0);
    EXPECT_GT(feet().x, 3000.0f);
    EXPECT_EQ(number("lf:get_points()"), 30);
}

TEST_F(TutorialStepTest, Step12LoadsLedgesDrawnInTiledThatThePlayerClimbsForThreeCoins) {
    play_step(12, 1280, 720);
    tick(30);  // without the timeline: the player stays at the start
    EXPECT_EQ(level().layer_count(), 6) << "the map's tile layer and object layer";
    EXPECT_EQ(level().segment_strips.size(), 3u) << "the ground and both ledges";
    for (int32_t coin : {111, 112, 113})
        EXPECT_NE(level().find_by_id(coin), nullptr) << coin;
    // Blue-grey stone of the low ledge, whose top is at y = -128, under the camera at (640, 0);
    // green hills beside it.
    const Pixel stone = pixel(128, 360 - 155), hills = pixel(448, 360 - 155);
    EXPECT_GT(stone.b, stone.g) << stone;
    EXPECT_GT(hills.g, hills.b) << hills;

    // From the start, a jump lands on the low ledge and takes its coin.
    ASSERT_TRUE(hero().body.ground);
    keyboard.press(vk::up);
    tick(20);
    keyboard.release(vk::up);
    tick(40);
    EXPECT_TRUE(hero().body.ground);
    EXPECT_EQ(feet().y, -128.0f);
    EXPECT_EQ(number("lf:get_points()"), 10);
    EXPECT_EQ(level().find_by_id(111), nullptr) << "the coin's sprite is gone";
    // A jump to the right onto the high ledge, and a walk along it for its two coins.
    keyboard.press(vk::up);
    keyboard.press(vk::right);
    tick(29);
    keyboard.release(vk::up);
    tick(45);
    keyboard.release(vk::right);
    tick(30);
    EXPECT_TRUE(hero().body.ground);
    EXPECT_EQ(feet().y, 0.0f);
    EXPECT_EQ(number("lf:get_points()"), 30);
    // Off its right end the player falls back to the ground.
    keyboard.press(vk::right);
    tick(100);
    EXPECT_EQ(feet().y, -240.0f);
}

// The finished game under velden-run, as the tutorial's last step runs it: it ends itself at
// the flag, and reports no script error and no call naming what does not exist.
TEST(TutorialGame, VeldenRunPlaysItThroughWithoutAScriptError) {
    const std::string command =
        "cd '" + tutorial_game.string() +
        "' && ASAN_OPTIONS=detect_leaks=0 SDL_AUDIODRIVER=dummy "
        "VELDEN_SCRIPT_ERRORS=2 '" +
        std::string(VELDEN_BINARY_DIR) +
        "/velden-run' --frames 2500 --size 320x180 --keys playthrough.txt . 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_TRUE(pipe);
    std::string out;
    char buf[512];
    while (size_t n = fread(buf, 1, sizeof buf, pipe))
        out.append(buf, n);
    const int status = pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status)) << out;
    EXPECT_EQ(WEXITSTATUS(status), 0) << out;
    EXPECT_NE(out.find("the game ended itself"), std::string::npos) << out;
    EXPECT_EQ(out.find("script error"), std::string::npos) << out;
}
