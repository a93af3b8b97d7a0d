// The command line of velden: what it accepts and what it refuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Shell/Launcher.h"

namespace {

struct Case {
    std::vector<std::string> args;
    Launcher::Parsed parsed;
    // For run: what the options become.
    std::string folder = "";
    int32_t width = 1280, height = 720;
    bool window = false, dev = false;
};

}  // namespace

TEST(Launcher, ReadsItsOptionsAndRefusesWhatItDoesNotKnow) {
    using P = Launcher::Parsed;
    const Case cases[] = {
        {{}, P::run},
        {{"game"}, P::run, "game"},
        {{"--window", "game"}, P::run, "game", 1280, 720, true},
        {{"--dev"}, P::run, "", 1280, 720, true, true},
        {{"game", "--profile", "800x600"}, P::run, "game", 800, 600},
        {{"--profile=1024x768", "--window"}, P::run, "", 1024, 768, true},
        {{"--profile", "1280x800", "--dev", "g"}, P::run, "g", 1280, 800, true, true},
        {{"--help"}, P::help},
        {{"-h", "game"}, P::help},
        {{"--version"}, P::version},
        {{"--profile", "640x480"}, P::bad},
        {{"--profile=1280x720x32"}, P::bad},
        {{"--profile"}, P::bad},
        {{"--fullscreen"}, P::bad},
        {{"-w"}, P::bad},
        {{"one", "two"}, P::bad},
        {{""}, P::bad},
    };
    for (const Case& c : cases) {
        std::vector<char*> argv{const_cast<char*>("velden")};
        std::string line;
        for (const std::string& a : c.args) {
            argv.push_back(const_cast<char*>(a.c_str()));
            line += " [" + a + "]";
        }
        Launcher::Options o;
        std::string error;
        const Launcher::Parsed parsed =
            Launcher::parse(static_cast<int>(argv.size()), argv.data(), o, error);
        EXPECT_EQ(parsed, c.parsed) << line;
        EXPECT_EQ(error.empty(), parsed != P::bad) << line;
        if (parsed != P::run)
            continue;
        EXPECT_EQ(o.game_folder, c.folder) << line;
        EXPECT_EQ(o.width, c.width) << line;
        EXPECT_EQ(o.height, c.height) << line;
        EXPECT_EQ(o.window, c.window) << line;
        EXPECT_EQ(o.dev, c.dev) << line;
    }
}
