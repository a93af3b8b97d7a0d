// velden-run as game authors use it: the real executable on a game folder, under the X server.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "Render/PngLoader.h"

namespace fs = std::filesystem;

namespace {

std::string read_all(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class RunnerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string templ = (fs::temp_directory_path() / "velden-run-XXXXXX").string();
        ASSERT_NE(mkdtemp(templ.data()), nullptr);
        dir = templ;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    void write(const std::string& path, const std::string& text) {
        fs::path p = dir / path;
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << text;
    }
    // Runs velden-run with these arguments from the test folder, with the audio driver named by
    // the environment setting given; returns the exit code and leaves standard output in out.
    int run(const std::string& args, const std::string& audio_env = "SDL_AUDIODRIVER=dummy") {
        // Leaks are checked in-process; the GL driver may unload its libraries before the
        // leak report at the end of a separate process.
        std::string cmd = "cd '" + dir.string() +
                          "' && env -u SDL_AUDIODRIVER ASAN_OPTIONS=detect_leaks=0 " + audio_env +
                          " '" + std::string(VELDEN_BINARY_DIR) + "/velden-run' " + args +
                          " > out.txt 2> err.txt";
        int status = std::system(cmd.c_str());
        out = read_all(dir / "out.txt") + read_all(dir / "err.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path dir;
    std::string out;
};

}  // namespace

// The sample game with the same keys twice: byte-identical screenshots; the game moves between
// the two frames, so the pictures show a running game and not one still image.
TEST_F(RunnerTest, SameInputsWriteIdenticalScreenshots) {
    write("keys.txt", "# walk right, jump\n20 down right\n60 up right\n70 tap space\n");
    const std::string game = std::string(" '") + VELDEN_GAME_DIR + "'";
    ASSERT_EQ(
        run("--frames 120 --keys keys.txt --seed 9 --shot 40:a1.png --shot 120:b1.png" + game), 1)
        << out;
    EXPECT_NE(out.find("120 frames, the game still running"), std::string::npos) << out;
    ASSERT_EQ(
        run("--frames 120 --keys keys.txt --seed 9 --shot 40:a2.png --shot 120:b2.png" + game), 1)
        << out;
    const std::string a1 = read_all(dir / "a1.png"), a2 = read_all(dir / "a2.png");
    const std::string b1 = read_all(dir / "b1.png"), b2 = read_all(dir / "b2.png");
    ASSERT_FALSE(a1.empty());
    EXPECT_EQ(a1, a2);
    EXPECT_EQ(b1, b2);
    EXPECT_NE(a1, b1);

    std::unique_ptr<Image> image = PngLoader::load((dir / "b1.png").string());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 1280);
    EXPECT_EQ(image->height, 720);
    // Not a blank frame: many colours.
    std::set<uint32_t> colours;
    for (size_t i = 0; i < image->pixels.size(); i += 4 * 97)
        colours.insert(image->pixels[i] | image->pixels[i + 1] << 8 | image->pixels[i + 2] << 16);
    EXPECT_GT(colours.size(), 50u);
}

// Keys change exactly before their frame: the escape script counts the frames it runs in and
// ends the game on its third.
TEST_F(RunnerTest, KeyTimelineDrivesTheGameAndTheExitCodeSaysTheGameEnded) {
    write("game/Data/Scripts/INIT_test.lua", "count = 0\n");
    write("game/Data/Scripts/escape_pressed.lua",
          "count = count + 1\n"
          "if count == 3 then LuaFunctions():set_game_state(3) end\n");
    write("keys.txt", "3 tap escape\n10 down 0x1B   # held from frame 10\n");
    EXPECT_EQ(run("--keys keys.txt --frames 100 game"), 0) << out;
    EXPECT_NE(out.find("11 frames, the game ended itself"), std::string::npos) << out;

    // Without the key the frames run out.
    write("none.txt", "");
    EXPECT_EQ(run("--keys none.txt --frames 30 game"), 1) << out;
    EXPECT_NE(out.find("30 frames, the game still running"), std::string::npos) << out;
}

// Random keys begin after the timeline's last change: up to it, a run with them is the run
// without them, frame for frame; after it, they play the game.
TEST_F(RunnerTest, RandomKeysFollowTheTimeline) {
    write("keys.txt", "5 tap enter   # START\n150 tap shift\n");
    const std::string game = std::string(" '") + VELDEN_GAME_DIR + "'";
    const std::string common = "--keys keys.txt --size 320x180 --shot 150:";
    ASSERT_EQ(run("--frames 400 " + common + "a150.png --shot 400:a400.png" + game), 1) << out;
    ASSERT_EQ(run("--frames 400 --random-keys 5 " + common + "b150.png --shot 400:b400.png" + game),
              1)
        << out;
    const std::string a150 = read_all(dir / "a150.png"), b150 = read_all(dir / "b150.png");
    ASSERT_FALSE(a150.empty());
    EXPECT_EQ(a150, b150);
    EXPECT_NE(read_all(dir / "a400.png"), read_all(dir / "b400.png"));
}

// Pad inputs in the timeline play on a virtual game controller: the same presses on the pad
// and on the keyboard give byte-identical frames, and Back ends the sample game as Escape does.
TEST_F(RunnerTest, PadInputsOfTheTimelinePlayTheGameAsTheirKeysDo) {
    write("keys.txt", "5 tap enter\n20 down right\n60 up right\n70 down up\n80 up up\n");
    write("pad.txt",
          "5 tap PAD:start   # any case\n20 down pad:left_stick_right\n60 up pad:left_stick_right\n"
          "70 down pad:dpad_up\n80 up pad:dpad_up\n");
    write("none.txt", "");
    const std::string game = std::string(" '") + VELDEN_GAME_DIR + "'";
    for (const char* name : {"keys", "pad", "none"})
        ASSERT_EQ(run(std::string("--frames 100 --seed 3 --keys ") + name +
                      ".txt --shot 100:" + name + ".png" + game),
                  1)
            << out;
    const std::string keys = read_all(dir / "keys.png"), pad = read_all(dir / "pad.png");
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys, pad);
    EXPECT_NE(keys, read_all(dir / "none.png")) << "the presses changed nothing";

    write("back.txt", "30 tap pad:back\n");
    EXPECT_EQ(run("--frames 100 --keys back.txt" + game), 0) << out;
    EXPECT_NE(out.find("30 frames, the game ended itself"), std::string::npos) << out;
}

// The seed is C's and Lua's: math.random gives the same numbers for the same seed.
TEST_F(RunnerTest, SeedFixesScriptRandomNumbers) {
    write("game/Data/Scripts/INIT_test.lua",
          "local f = io.open('random.txt', 'a')\n"
          "f:write(math.random(1000000), ' ', math.random(1000000), '\\n')\n"
          "f:close()\n");
    ASSERT_EQ(run("--frames 1 --seed 5 game"), 1) << out;
    ASSERT_EQ(run("--frames 1 --seed 5 game"), 1) << out;
    ASSERT_EQ(run("--frames 1 --seed 6 game"), 1) << out;
    std::istringstream lines(read_all(dir / "game/random.txt"));
    std::string first, second, third;
    std::getline(lines, first);
    std::getline(lines, second);
    std::getline(lines, third);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first, second);
    EXPECT_NE(first, third);
}

TEST_F(RunnerTest, BadInputIsRefusedWithAMessage) {
    fs::create_directories(dir / "game/Data/Scripts");
    struct Case {
        const char* keys;
        const char* args;
        const char* message;
    };
    const Case cases[] = {
        {"5 down nokey\n", "--keys keys.txt game", "line 1: unknown key \"nokey\""},
        {"\n0 down left\n", "--keys keys.txt game", "line 2: bad frame number"},
        {"4 push left\n", "--keys keys.txt game", "unknown action \"push\""},
        {"4 down\n", "--keys keys.txt game", "line 1: expected"},
        {"4 down pad:jump\n", "--keys keys.txt game", "line 1: unknown pad input \"pad:jump\""},
        {"", "--keys missing.txt game", "cannot read missing.txt"},
        {"", "--frames -3 game", "bad --frames"},
        {"", "--frame-ms 5 game", "--frame-ms must be 10 to 25"},
        {"", "--shot 0:x.png game", "bad --shot"},
        {"", "--shot 5 game", "bad --shot"},
        {"", "--size 100 game", "bad --size"},
        {"", "--bogus game", "unknown option --bogus"},
        {"", "nofolder", "no game folder nofolder"},
    };
    for (const Case& c : cases) {
        write("keys.txt", c.keys);
        EXPECT_EQ(run(c.args), 2) << c.args;
        EXPECT_NE(out.find(c.message), std::string::npos) << c.args << ": " << out;
    }
}

// A screenshot that cannot be written is an error, not a silent success.
TEST_F(RunnerTest, UnwritableScreenshotFails) {
    fs::create_directories(dir / "game/Data/Scripts");
    EXPECT_EQ(run("--frames 5 --shot 2:nodir/x.png game"), 4) << out;
    EXPECT_NE(out.find("cannot write"), std::string::npos) << out;
}

// Headless runs use SDL's dummy audio driver unless the environment names one or --audio asks
// for the machine's own output.
TEST_F(RunnerTest, AudioIsTheDummyDriverUnlessAskedOtherwise) {
    write("game/Data/Scripts/INIT_test.lua",
          "local f = io.open('driver.txt', 'w')\n"
          "f:write(tostring(os.getenv('SDL_AUDIODRIVER')))\n"
          "f:close()\n"
          "LuaFunctions():set_game_state(3)\n");
    struct Case {
        const char* args;
        const char* env;
        const char* driver;
    };
    const Case cases[] = {
        {"--frames 5 game", "", "dummy"},
        {"--frames 5 game", "SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null", "disk"},
        {"--audio --frames 5 game", "SDL_AUDIODRIVER=dummy", "dummy"},
        {"--audio --frames 5 game", "", "nil"},
    };
    for (const Case& c : cases) {
        fs::remove(dir / "game/driver.txt");
        EXPECT_EQ(run(c.args, c.env), 0) << c.args << " " << c.env << ": " << out;
        EXPECT_EQ(read_all(dir / "game/driver.txt"), c.driver) << c.args << " " << c.env;
    }
}
