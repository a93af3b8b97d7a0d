// Time to the first frame, measured from outside as a player sees it: from starting the process
// until the middle of the X screen shows the colour of the game's first frame. Each iteration
// starts the sample game and an empty game (one full-screen quad of one colour) in turn, so both
// see the same load; with VELDEN_START_OTHER set to a shell command, that program is started in
// turn too and must show the empty game's colour (0.2, 0.6, 1) in the middle of the screen, so
// that another engine's empty game can be measured side by side.
// Needs an X display (run under xvfb-run); velden-run is taken from beside this program.
#include <benchmark/benchmark.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "Render/PngLoader.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Rgb {
    int r, g, b;
    bool near(const Rgb& o) const {
        return std::abs(r - o.r) <= 2 && std::abs(g - o.g) <= 2 && std::abs(b - o.b) <= 2;
    }
};

unsigned channel(unsigned long pixel, unsigned long mask) {
    int shift = 0;
    while (mask && !((mask >> shift) & 1))
        ++shift;
    const unsigned long max = mask >> shift;
    return max ? static_cast<unsigned>(((pixel & mask) >> shift) * 255 / max) : 0;
}

Rgb screen_pixel(Display* display, int x, int y) {
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return {-1, -1, -1};
    const unsigned long p = XGetPixel(image, 0, 0);
    const Rgb rgb{static_cast<int>(channel(p, image->red_mask)),
                  static_cast<int>(channel(p, image->green_mask)),
                  static_cast<int>(channel(p, image->blue_mask))};
    XDestroyImage(image);
    return rgb;
}

std::string beside_this_program(const std::string& name) {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / name).string();
}

pid_t spawn(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    return pid;
}

// Starts the program and returns the seconds until the screen's middle shows the colour, or a
// negative number when it does not within ten seconds. The program is ended afterwards, and the
// screen is left without the colour again.
double time_to_colour(Display* display, const std::vector<std::string>& args, Rgb colour) {
    const int x = DisplayWidth(display, DefaultScreen(display)) / 2;
    const int y = DisplayHeight(display, DefaultScreen(display)) / 2;
    const Clock::time_point start = Clock::now();
    const pid_t pid = spawn(args);
    if (pid < 0)
        return -1;
    double seconds = -1;
    while (Clock::now() - start < std::chrono::seconds(10)) {
        if (screen_pixel(display, x, y).near(colour)) {
            seconds = std::chrono::duration<double>(Clock::now() - start).count();
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    for (int i = 0; i < 2000 && screen_pixel(display, x, y).near(colour); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return seconds;
}

const char* const empty_game_script = R"(
    local lf = LuaFunctions()
    lf:create_level(0, 0, 0, 0)
    lf:create_layer(1, 1, 0)
    lf:create_sprite('fill', 0, '', 0, 0)
    lf:sprite_shape('fill', 0, 640, 360)
    lf:sprite_color('fill', 0.2, 0.6, 1, 1)
    lf:gameobject_upload('fill', 0, 1)
)";

void BM_StartToFirstFrame(benchmark::State& state) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        state.SkipWithError("no X display (run under xvfb-run)");
        return;
    }
    const std::string runner = beside_this_program("velden-run");
    const auto empty = std::filesystem::temp_directory_path() / "velden-empty-game";
    std::filesystem::create_directories(empty / "Data/Scripts");
    std::ofstream(empty / "Data/Scripts/INIT_test.lua") << empty_game_script;
    const Rgb empty_colour{51, 153, 255};

    // The sample game's first frame, in the middle of the screen: the window is at the screen's
    // top-left corner, its first frame written by the runner.
    const auto shot = std::filesystem::temp_directory_path() / "velden-first-frame.png";
    const int x = DisplayWidth(display, DefaultScreen(display)) / 2;
    const int y = DisplayHeight(display, DefaultScreen(display)) / 2;
    const pid_t pid =
        spawn({runner, "--frames", "1", "--shot", "1:" + shot.string(), VELDEN_GAME_DIR});
    if (pid > 0)
        waitpid(pid, nullptr, 0);
    const std::unique_ptr<Image> first = PngLoader::load(shot.string());
    if (!first || x >= first->width || y >= first->height) {
        state.SkipWithError("the sample game's first frame could not be taken");
        XCloseDisplay(display);
        return;
    }
    const uint8_t* p = &first->pixels[(static_cast<size_t>(first->height - 1 - y) * first->width +
                                       static_cast<size_t>(x)) *
                                      4];
    const Rgb sample_colour{p[0], p[1], p[2]};

    const char* other = std::getenv("VELDEN_START_OTHER");
    double sample = 0, empty_game = 0, other_game = 0;
    int failures = 0;
    for (auto _ : state) {
        const double s =
            time_to_colour(display, {runner, "--frames", "100000", VELDEN_GAME_DIR}, sample_colour);
        const double e =
            time_to_colour(display, {runner, "--frames", "100000", empty.string()}, empty_colour);
        const double o =
            other ? time_to_colour(display, {"/bin/sh", "-c", std::string("exec ") + other},
                                   empty_colour)
                  : 0;
        failures += (s < 0) + (e < 0) + (o < 0);
        sample += s;
        empty_game += e;
        other_game += o;
        state.SetIterationTime(s);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["sample_ms"] = 1000 * sample / n;
    state.counters["empty_ms"] = 1000 * empty_game / n;
    if (other) {
        state.counters["other_ms"] = 1000 * other_game / n;
        state.counters["sample/other"] = sample / other_game;
    }
    if (failures)
        state.SkipWithError("a first frame did not show within ten seconds");
    XCloseDisplay(display);
}
BENCHMARK(BM_StartToFirstFrame)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
