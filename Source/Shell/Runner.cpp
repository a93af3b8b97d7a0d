#include "Shell/Runner.h"

#include "Core/Random.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "Platform/Clock.h"
#include "Platform/EventPump.h"
#include "Platform/Gamepads.h"
#include "Platform/HeldKeys.h"
#include "Platform/Keyboard.h"
#include "Platform/ManualClock.h"
#include "Platform/VirtualKeys.h"
#include "Platform/VirtualPad.h"
#include "Platform/Window.h"
#include "Render/FrameCapture.h"
#include "Render/PngWriter.h"
#include "Shell/FrameTimer.h"
#include "Shell/Game.h"
#include "Shell/KeyTimeline.h"
#include "Shell/Program.h"

namespace fs = std::filesystem;

namespace {

bool to_int(const char* text, int64_t lo, int64_t hi, int64_t& out) {
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(text, &end, 10);
    if (end == text || *end != '\0' || errno != 0 || v < lo || v > hi)
        return false;
    out = v;
    return true;
}

long peak_resident_kb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;  // kilobytes on Linux
}

// The keys random presses use: the game keys, never Escape (which ends the sample game).
const int32_t random_key_set[] = {vk::left,  vk::right, vk::up,    vk::down,
                                  vk::space, vk::enter, vk::shift, vk::control};

}  // namespace

const char* Runner::usage() {
    return "usage: velden-run [options] [game-folder]\n"
           "  --frames N            frames to run (default 600)\n"
           "  --frame-ms MS         game time per frame, 10 to 25 ms (default 10)\n"
           "  --seed N              seed of the random numbers (C rand and Lua math.random;\n"
           "                        default 1)\n"
           "  --keys FILE           key timeline: lines \"<frame> down|up|tap <key>\"; a key\n"
           "                        \"pad:<input>\" is a game controller's (pad:south, ...)\n"
           "  --random-keys SEED    random presses and releases of the game keys from SEED,\n"
           "                        after the last change of the --keys timeline\n"
           "  --shot FRAME:FILE     write a PNG screenshot after that frame (repeatable)\n"
           "  --size WxH            window size (default 1280x720)\n"
           "  --memory-every N      print the peak resident memory every N frames and at the end\n"
           "  --audio               use the machine's sound output (default: SDL's dummy audio\n"
           "                        driver, unless SDL_AUDIODRIVER is set)\n"
           "exit code: 0 the game ended itself, 1 all frames ran, 2 bad usage, 3 no window,\n"
           "           4 a screenshot could not be written, 5 closed from outside\n";
}

bool Runner::parse(int argc, char** argv, Options& o, std::string& error) {
    bool folder_given = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](const char*& out) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        const char* v = nullptr;
        int64_t n = 0;
        if (arg == "--frames") {
            if (!value(v) || !to_int(v, 0, 1000000000000LL, n))
                return error = error.empty() ? "bad --frames" : error, false;
            o.frames = n;
        } else if (arg == "--frame-ms") {
            if (!value(v) ||
                !to_int(v, FrameTimer::min_interval_ms, FrameTimer::max_interval_ms, n))
                return error = error.empty() ? "--frame-ms must be 10 to 25" : error, false;
            o.frame_ms = static_cast<uint32_t>(n);
        } else if (arg == "--seed") {
            if (!value(v) || !to_int(v, 0, UINT32_MAX, n))
                return error = error.empty() ? "bad --seed" : error, false;
            o.seed = static_cast<uint32_t>(n);
        } else if (arg == "--keys") {
            if (!value(v))
                return false;
            o.keys_file = v;
        } else if (arg == "--random-keys") {
            if (!value(v) || !to_int(v, 0, UINT32_MAX, n))
                return error = error.empty() ? "bad --random-keys" : error, false;
            o.random_keys = true;
            o.random_keys_seed = static_cast<uint32_t>(n);
        } else if (arg == "--shot") {
            if (!value(v))
                return false;
            std::string s = v;
            size_t colon = s.find(':');
            if (colon == std::string::npos || colon + 1 == s.size() ||
                !to_int(s.substr(0, colon).c_str(), 1, 1000000000000LL, n))
                return error = "bad --shot \"" + s + "\" (FRAME:FILE, frames from 1)", false;
            o.shots[n].push_back(s.substr(colon + 1));
        } else if (arg == "--size") {
            if (!value(v))
                return false;
            std::string s = v;
            size_t x = s.find('x');
            int64_t w = 0, h = 0;
            if (x == std::string::npos || !to_int(s.substr(0, x).c_str(), 1, 8192, w) ||
                !to_int(s.substr(x + 1).c_str(), 1, 8192, h))
                return error = "bad --size \"" + s + "\" (WxH)", false;
            o.width = static_cast<int32_t>(w);
            o.height = static_cast<int32_t>(h);
        } else if (arg == "--memory-every") {
            if (!value(v) || !to_int(v, 1, 1000000000000LL, n))
                return error = error.empty() ? "bad --memory-every" : error, false;
            o.memory_every = n;
        } else if (arg == "--audio") {
            o.audio = true;
        } else if (arg == "--help" || arg == "-h") {
            error = "";
            return false;
        } else if (!arg.empty() && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else if (folder_given) {
            error = "more than one game folder";
            return false;
        } else {
            o.game_folder = arg;
            folder_given = true;
        }
    }
    return true;
}

int Runner::run(const Options& o) {
    // Paths of the command line are relative to where the runner started, not to the game.
    KeyTimeline timeline;
    if (!o.keys_file.empty()) {
        std::ifstream in(o.keys_file);
        std::string error;
        if (!in) {
            std::fprintf(stderr, "velden-run: cannot read %s\n", o.keys_file.c_str());
            return bad_usage;
        }
        if (!timeline.parse(in, error)) {
            std::fprintf(stderr, "velden-run: %s: %s\n", o.keys_file.c_str(), error.c_str());
            return bad_usage;
        }
    }
    std::map<int64_t, std::vector<std::string>> shots;
    for (const auto& [frame, paths] : o.shots)
        for (const std::string& p : paths)
            shots[frame].push_back(fs::absolute(p).string());
    std::error_code ec;
    if (!fs::is_directory(o.game_folder, ec) || chdir(o.game_folder.c_str()) != 0) {
        std::fprintf(stderr, "velden-run: no game folder %s\n", o.game_folder.c_str());
        return bad_usage;
    }

    // Pads plugged into the machine are ignored like its keyboard; the timeline's pad inputs
    // are played on a pad of the runner's own.
    Gamepads::instance().set_virtual_only(true);
    std::unique_ptr<VirtualPad> pad;
    if (timeline.uses_pad()) {
        pad = VirtualPad::attach();
        if (!pad) {
            std::fprintf(stderr, "velden-run: no virtual game controller\n");
            return no_window;
        }
    }
    // Headless: a window in memory serves as well as one on a screen.
    std::unique_ptr<Window> window =
        Window::create(Program::title, o.width, o.height, Window::Fallback::offscreen);
    if (!window) {
        std::fprintf(stderr, "velden-run: no window (is an X server running?)\n");
        return no_window;
    }
    window->show();
    Window::set_main(window.get());

    ManualClock clock;
    HeldKeys keys;
    Clock::set_current(&clock);
    Keyboard::set_current(&keys);
    std::srand(o.seed);
    Random::seed(o.seed);
    std::mt19937 random_keys(o.random_keys_seed);
    // The timeline goes first (to start a game from its menu, say), then the random keys.
    const int64_t random_from = timeline.changes().empty() ? 0 : timeline.changes().back().frame;

    Game& game = Game::instance();
    game.init();
    // The timeline's pad presses count from the first frame on, so its pad is opened before.
    if (pad)
        Gamepads::instance().start();
    const float dt = static_cast<float>(o.frame_ms) * 0.001f;
    int code = out_of_frames;
    int64_t frame = 0;
    while (frame < o.frames) {
        ++frame;
        timeline.apply(frame, keys, pad.get());
        // The pad's changes reach the game as SDL's controller events, before the frame.
        if (pad && EventPump::pump()) {
            code = closed;
            break;
        }
        if (o.random_keys && frame > random_from && random_keys() % 8 == 0) {
            int32_t key = random_key_set[random_keys() % std::size(random_key_set)];
            keys.set(key, !keys.is_down(key));
        }
        game.tick(dt);
        clock.advance(o.frame_ms);
        if (auto it = shots.find(frame); it != shots.end()) {
            Image image = FrameCapture::read(o.width, o.height);
            for (const std::string& path : it->second) {
                if (!PngWriter::write(path, image)) {
                    std::fprintf(stderr, "velden-run: cannot write %s\n", path.c_str());
                    code = failed_output;
                }
            }
        }
        if (o.memory_every > 0 && frame % o.memory_every == 0) {
            std::printf("frame %lld: peak resident memory %ld kB\n", static_cast<long long>(frame),
                        peak_resident_kb());
            std::fflush(stdout);  // a long run shows its progress
        }
        if (code == failed_output)
            break;
        if (EventPump::pump()) {
            code = closed;
            break;
        }
        if (game.state == GameState::quit) {
            code = ended_by_game;
            break;
        }
    }
    if (o.memory_every > 0 && frame % o.memory_every != 0)
        std::printf("frame %lld: peak resident memory %ld kB\n", static_cast<long long>(frame),
                    peak_resident_kb());
    std::printf("velden-run: %lld frames, %s\n", static_cast<long long>(frame),
                code == ended_by_game   ? "the game ended itself"
                : code == out_of_frames ? "the game still running"
                : code == closed        ? "closed from outside"
                                        : "a screenshot failed");
    std::fflush(stdout);

    game.shutdown();
    pad.reset();
    Keyboard::set_current(nullptr);
    Clock::set_current(nullptr);
    Window::set_main(nullptr);
    return code;
}
