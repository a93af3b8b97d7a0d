// The sample game played from its title menu to its end screen and back by velden-run with the
// game's own key timeline (game/playthrough.txt): the lines the game prints on its course and
// screenshots at a few points show that every part of it still works.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Render/PngLoader.h"

namespace fs = std::filesystem;

namespace {

// Frames of the timeline at which the test looks (see the comments in game/playthrough.txt).
struct Shot {
    const char* name;
    int frame;
};
constexpr Shot shots[] = {
    {"title", 3},            // the title menu over the meadow
    {"meadow_west", 60},     // play begins at the meadow's west end
    {"meadow_east", 2600},   // the camera has followed the hero to the lever at the east end
    {"before_pause", 2825},  // the cave's entrance
    {"paused", 2840},        // the pause menu over it
    {"cave_dark", 4560},     // the cave before the miner lights his lamps
    {"cave_lit", 4800},      // and after
    {"end", 5200},           // the end screen
};
constexpr int frames = 5600;
constexpr int width = 320, height = 180;

std::string read_all(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Mean {
    double r = 0, g = 0, b = 0;
};

// The mean colour of a rectangle of a screenshot, (x, y) from its top-left corner.
Mean mean(const Image& image, int x0, int y0, int w, int h) {
    Mean m;
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x) {
            const uint8_t* p = &image.pixels[((image.height - 1 - y) * image.width + x) * 4];
            m.r += p[0];
            m.g += p[1];
            m.b += p[2];
        }
    }
    const double n = static_cast<double>(w) * h;
    return {m.r / n, m.g / n, m.b / n};
}

// How many pixels of a rectangle differ between two screenshots.
int differing(const Image& a, const Image& b, int x0, int y0, int w, int h) {
    int n = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            for (int c = 0; c < 3; ++c) {
                const size_t i = ((a.height - 1 - y) * a.width + x) * 4 + c;
                if (a.pixels[i] != b.pixels[i]) {
                    ++n;
                    break;
                }
            }
    return n;
}

class SamplePlayThrough : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string templ = (fs::temp_directory_path() / "velden-play-XXXXXX").string();
        ASSERT_NE(mkdtemp(templ.data()), nullptr);
        dir = templ;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    std::unique_ptr<Image> shot(const std::string& name) {
        auto image = PngLoader::load((dir / (name + ".png")).string());
        EXPECT_TRUE(image) << name;
        if (image) {
            EXPECT_EQ(image->width, width);
            EXPECT_EQ(image->height, height);
        }
        return image;
    }
    fs::path dir;
};

}  // namespace

TEST_F(SamplePlayThrough, TheTimelinePlaysFromTheTitleMenuToTheEndScreenAndBack) {
    std::string command = "cd '" + std::string(VELDEN_GAME_DIR) +
                          "' && ASAN_OPTIONS=detect_leaks=0 SDL_AUDIODRIVER=dummy "
                          "VELDEN_SCRIPT_ERRORS=2 '" +
                          std::string(VELDEN_BINARY_DIR) + "/velden-run' --frames " +
                          std::to_string(frames) + " --size " + std::to_string(width) + "x" +
                          std::to_string(height) + " --keys playthrough.txt";
    for (const Shot& s : shots)
        command += " --shot " + std::to_string(s.frame) + ":'" + (dir / s.name).string() + ".png'";
    command += " . > '" + (dir / "out.txt").string() + "' 2>&1";
    const int status = std::system(command.c_str());
    const std::string out = read_all(dir / "out.txt");
    ASSERT_TRUE(WIFEXITED(status)) << out;
    // The timeline ends by pressing QUIT in the title menu it came back to.
    EXPECT_EQ(WEXITSTATUS(status), 0) << out;
    EXPECT_NE(out.find("the game ended itself"), std::string::npos) << out;
    EXPECT_EQ(out.find("script error"), std::string::npos) << out;

    // The course of the game, in order.
    const std::vector<std::string> course = {"game: title menu",
                                             "game: play",
                                             "game: now in cave",
                                             "game: paused",
                                             "game: resumed",
                                             "game: the hero fell into the pit",
                                             "game: the miner lit his lamps",
                                             "game: the end:",
                                             "game: now in end",
                                             "game: title menu",
                                             "game: now in title"};
    size_t at = 0;
    for (const std::string& line : course) {
        const size_t found = out.find(line, at);
        ASSERT_NE(found, std::string::npos) << "missing, or out of order: " << line << "\n" << out;
        at = found + line.size();
    }
    // The meadow's coins come along into the cave; the end counts the cave's too, and the
    // points and the time bonus earn a grade.
    // sscanf over the line from its start; %n is set only when everything before it matched.
    auto scan_line = [&](const char* start) {
        const size_t at = out.find(start);
        return at == std::string::npos ? std::string() : out.substr(at, out.find('\n', at) - at);
    };
    const std::string cave_line = scan_line("now in cave");
    int meadow_points = 0, meadow_time = 0, meadow_coins = 0, read = 0;
    std::sscanf(cave_line.c_str(), "now in cave (points %d, time %d s, coins %d)%n", &meadow_points,
                &meadow_time, &meadow_coins, &read);
    ASSERT_GT(read, 0) << out;
    EXPECT_GE(meadow_coins, 20);
    EXPECT_GE(meadow_points, 10 * meadow_coins);
    EXPECT_GT(meadow_time, 20);
    const std::string end_line = scan_line("the end:");
    int points = 0, bonus = 0, minutes = 0, seconds = 0, combo = 0, coins = 0;
    char grade[32] = "";
    read = 0;
    std::sscanf(end_line.c_str(),
                "the end: points %d (time bonus %d), time %d:%d, best combo %d, grade %31[a-z], "
                "coins %d%n",
                &points, &bonus, &minutes, &seconds, &combo, grade, &coins, &read);
    ASSERT_GT(read, 0) << out;
    const int time = minutes * 60 + seconds;
    EXPECT_GT(bonus, 0);
    EXPECT_GT(points, meadow_points + bonus) << "the cave's coins count too";
    EXPECT_GT(time, meadow_time);
    EXPECT_GE(combo, 3);
    EXPECT_NE(std::string(grade), "failed");
    EXPECT_GE(coins, meadow_coins + 10) << "the cave's coins, the lit ones among them";

    const auto title = shot("title"), west = shot("meadow_west"), before = shot("before_pause"),
               paused = shot("paused"), east = shot("meadow_east"), dark = shot("cave_dark"),
               lit = shot("cave_lit"), end = shot("end");
    ASSERT_TRUE(title && west && before && paused && east && dark && lit && end);
    // The sky is fixed on the screen (its top left, away from the cliff at the east end); the
    // mountains (parallax 0.2) have moved between the west and the east end.
    EXPECT_EQ(differing(*west, *east, 0, 0, 200, 4), 0);
    EXPECT_GT(differing(*west, *east, 0, 70, width, 30), width * 30 / 4);
    // The pause menu: its focused button's gold rim and arrows in the middle of the screen.
    auto golden = [](const Image& image, int x0, int y0, int w, int h) {
        int n = 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) {
                const Mean p = mean(image, x, y, 1, 1);
                n += p.r > 180 && p.g > 130 && p.b < 130;
            }
        return n;
    };
    EXPECT_EQ(golden(*before, 120, 70, 80, 20), 0);
    EXPECT_GT(golden(*paused, 120, 70, 80, 20), 20);
    // The cave is dark and blue; the miner's lamps light it.
    const Mean meadow = mean(*west, 0, 0, width, height), cave = mean(*dark, 0, 0, width, height);
    EXPECT_GT(cave.b, cave.r);
    EXPECT_LT(cave.r + cave.g + cave.b, meadow.r + meadow.g + meadow.b);
    const Mean bright = mean(*lit, 0, 0, width, height);
    EXPECT_GT(bright.r + bright.g + bright.b, 1.15 * (cave.r + cave.g + cave.b));
    // The end screen: gold figures on a dark panel in the middle.
    EXPECT_GT(golden(*end, 80, 60, 160, 70), 100);
    EXPECT_GT(differing(*end, *lit, 0, 0, width, height), width * height / 2);
}
