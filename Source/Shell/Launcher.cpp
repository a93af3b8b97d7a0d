#include "Shell/Launcher.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "Platform/Clock.h"
#include "Platform/GLContext.h"
#include "Platform/Window.h"
#include "Shell/DevMode.h"
#include "Shell/Game.h"
#include "Shell/Program.h"

namespace fs = std::filesystem;

namespace {

struct Profile {
    const char* name;
    int32_t width, height;
};
constexpr Profile profiles[] = {{"1280x720", 1280, 720},
                                {"1024x768", 1024, 768},
                                {"1280x800", 1280, 800},
                                {"800x600", 800, 600}};

}  // namespace

const char* Launcher::usage() {
    return "usage: velden [options] [GAME_FOLDER]\n"
           "  --profile WxH   1280x720 (default), 1024x768, 1280x800 or 800x600\n"
           "  --window        a window of the profile's size instead of full screen\n"
           "  --dev           a window that restarts the game when a file under Data/ changes\n"
           "                  or F5 is pressed, shows script errors, and F3 shows frame times\n"
           "  --help          this text\n"
           "  --version       the engine's version\n"
           "GAME_FOLDER holds Data/Scripts/INIT_test.lua; default: the current folder, or the\n"
           "installed sample game when the current folder has no Data folder.\n";
}

const char* Launcher::short_usage() {
    return "usage: velden [--profile WxH] [--window] [--dev] [GAME_FOLDER]  (velden --help)\n";
}

const char* Launcher::version() {
    return "velden " VELDEN_VERSION "\n";
}

Launcher::Parsed Launcher::parse(int argc, char** argv, Options& o, std::string& error) {
    bool folder_given = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::string profile;
        if (arg == "--profile") {
            if (i + 1 >= argc) {
                error = "--profile needs a size";
                return Parsed::bad;
            }
            profile = argv[++i];
        } else if (arg.starts_with("--profile=")) {
            profile = arg.substr(10);
        } else if (arg == "--window") {
            o.window = true;
            continue;
        } else if (arg == "--dev") {
            o.dev = true;
            o.window = true;
            continue;
        } else if (arg == "--help" || arg == "-h") {
            return Parsed::help;
        } else if (arg == "--version") {
            return Parsed::version;
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return Parsed::bad;
        } else if (folder_given || arg.empty()) {
            error = arg.empty() ? "empty game folder" : "more than one game folder";
            return Parsed::bad;
        } else {
            o.game_folder = arg;
            folder_given = true;
            continue;
        }
        const Profile* found = nullptr;
        for (const Profile& p : profiles)
            if (profile == p.name)
                found = &p;
        if (!found) {
            error = "no profile \"" + profile + "\" (1280x720, 1024x768, 1280x800 or 800x600)";
            return Parsed::bad;
        }
        o.width = found->width;
        o.height = found->height;
    }
    return Parsed::run;
}

std::string Launcher::installed_game() {
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return "";
    return (program.parent_path().parent_path() / "share/velden/game").string();
}

std::string Launcher::game_folder(const Options& o) {
    if (!o.game_folder.empty())
        return o.game_folder;
    std::error_code ec;
    if (fs::is_directory("Data", ec))
        return ".";
    const std::string installed = installed_game();
    if (!installed.empty() && fs::is_directory(fs::path(installed) / "Data", ec))
        return installed;
    return ".";
}

int Launcher::run(const Options& o) {
    const std::string folder = game_folder(o);
    std::error_code ec;
    const fs::path init_script = fs::absolute(fs::path(folder) / Game::init_script, ec);
    if (!fs::is_regular_file(init_script, ec) || chdir(folder.c_str()) != 0) {
        std::fprintf(stderr, "velden: no start-up script %s\n", init_script.c_str());
        return bad_usage;
    }
    if (!o.window)
        return Program(DisplayProfile{true, o.width, o.height, 32}).run();

    std::unique_ptr<Window> window = Window::create(Program::title, o.width, o.height);
    if (!window) {
        std::fprintf(stderr, "velden: no window (is an X server running?)\n");
        return no_window;
    }
    window->show();
    Window::set_main(window.get());
    Game& game = Game::instance();
    if (o.dev) {
        DevMode dev(fs::absolute("Data").string());
        if (!dev.watching())
            std::fprintf(stderr, "velden: cannot watch Data/ for changes; F5 restarts\n");
        dev.run(game, Clock::current());
    } else {
        game.init();
        // Frames paced by the screen keep game time with real time on fast machines.
        GLContext::request_vsync();
        Program::frame_loop(game, Clock::current());
    }
    game.shutdown();
    Window::set_main(nullptr);
    return 0;
}
