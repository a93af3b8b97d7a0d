// Random calls of every registered script function, interleaved with frames. The default run is
// a fixed-seed slice; VELDEN_FUZZ_SEED and VELDEN_FUZZ_CALLS choose another run (make fuzz), and
// VELDEN_FUZZ_TRACE=1 prints every call before it is made. When a run fails, the seed and the
// last calls before the fault are printed.
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <lua.hpp>

#include "Platform/VirtualKeys.h"
#include "Script/FunctionTable.h"
#include "Script/ScriptFuzzer.h"
#include "Script/ScriptHost.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

extern "C" void __sanitizer_set_death_callback(void (*callback)(void)) __attribute__((weak));

namespace {

constexpr size_t remembered_calls = 40;
constexpr int max_depth = 3;
// Without progress for this long the run counts as hung.
constexpr int hang_seconds = 60;

struct FuzzRun {
    uint64_t seed = 0;
    uint64_t count = 0;
    uint64_t made = 0;
    bool trace = false;
    ScriptFuzzer* fuzzer = nullptr;
    std::deque<ScriptFuzzer::Call> recent;
};

FuzzRun* current_run = nullptr;

void print_recent() {
    FuzzRun* run = current_run;
    if (!run)
        return;
    std::fprintf(stderr,
                 "\nscript fuzz failed: seed %llu, after %llu of %llu calls. Replay with\n"
                 "  VELDEN_FUZZ_SEED=%llu VELDEN_FUZZ_CALLS=%llu VELDEN_FUZZ_TRACE=1\n"
                 "The last calls, oldest first (indented ones ran from inside a script):\n",
                 (unsigned long long)run->seed, (unsigned long long)run->made,
                 (unsigned long long)run->count, (unsigned long long)run->seed,
                 (unsigned long long)run->made);
    for (const ScriptFuzzer::Call& call : run->recent)
        std::fprintf(stderr, "  %s\n", ScriptFuzzer::describe(call).c_str());
    std::fflush(stderr);
}

void on_fatal_signal(int sig) {
    print_recent();
    signal(sig, SIG_DFL);
    raise(sig);
}

uint64_t env_number(const char* name, uint64_t fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::strtoull(v, nullptr, 10) : fallback;
}

// One call: generated, remembered, made.
void make_call(lua_State* L, int depth) {
    FuzzRun& run = *current_run;
    ScriptFuzzer::Call call = run.fuzzer->next(depth);
    if (run.trace)
        std::fprintf(stderr, "%s\n", ScriptFuzzer::describe(call).c_str());
    run.recent.push_back(call);
    if (run.recent.size() > remembered_calls)
        run.recent.pop_front();
    ++run.made;
    if (!run.fuzzer->perform(L, call)) {
        print_recent();
        ADD_FAILURE() << run.fuzzer->fault;
        std::fprintf(stderr, "fault: %s\n", run.fuzzer->fault.c_str());
        std::abort();
    }
}

// "fuzz_inner()" for scripts: a few more random calls from inside a running script (the escape
// script and fuzz_inner.lua call it), so calls also come while the engine runs a script.
int fuzz_inner(lua_State* L) {
    static int depth = 0;
    if (!current_run)
        return 0;
    FuzzRun& run = *current_run;
    if (depth >= max_depth || run.made >= run.count)
        return 0;
    ++depth;
    const uint64_t n = 1 + run.fuzzer->below(3);
    for (uint64_t i = 0; i < n && run.made < run.count; ++i)
        make_call(L, depth);
    --depth;
    return 0;
}

class ScriptFuzz : public EngineTest {
  protected:
    // An empty game folder, or the sample game (its level, pictures and names to reach).
    void start_fuzz_game(bool sample_game) {
        namespace fs = std::filesystem;
        if (sample_game)
            fs::copy(fs::path(VELDEN_GAME_DIR) / "Data", fs::path(dir) / "Data",
                     fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        fs::create_directories(fs::path(dir) / "Data/Images");
        fs::copy_file(std::string(VELDEN_TEST_DATA) + "/png/rgba8.png",
                      fs::path(dir) / "Data/Images/fuzz.png");
        write_file("Data/Scripts/fuzz_inner.lua", "fuzz_inner()\n");
        // Scripts that fail after their calls: triggers, buttons, dialog frames, the player's
        // death and bullets may all be given it, and the escape script fails every other run.
        write_file("Data/Scripts/fuzz_error.lua", "fuzz_inner()\nerror(\"fuzz\")\n");
        write_file(Game::escape_script,
                   "fuzz_inner()\n"
                   "escapes = (escapes or 0) + 1\n"
                   "if escapes % 2 == 0 then error(\"escape fails\") end\n");
        start(sample_game ? "" : "lf = LuaFunctions()\n");
        ASSERT_EQ(lua("lf = LuaFunctions()"), "");
        lua_register(L(), "fuzz_inner", fuzz_inner);
        ASSERT_TRUE(ScriptFuzzer::install(L()));
    }

    // The quoted names in the game's scripts.
    std::vector<std::string> script_names() {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
            if (entry.path().extension() != ".lua")
                continue;
            std::ifstream in(entry.path());
            std::string text((std::istreambuf_iterator<char>(in)), {});
            for (size_t at = text.find('"'); at != std::string::npos;) {
                size_t end = text.find('"', at + 1);
                if (end == std::string::npos)
                    break;
                std::string name = text.substr(at + 1, end - at - 1);
                if (!name.empty() && name.size() < 64 && name.find('\n') == std::string::npos)
                    names.push_back(name);
                at = text.find('"', end + 1);
            }
        }
        return names;
    }

    // Runs count calls from seed, with frames, key changes and calls from inside scripts
    // between them.
    // With rebuild_every, the game's start-up script runs again after that many calls, so the
    // calls meet its level again and again rather than only what earlier calls left.
    uint64_t fuzz(uint64_t seed, uint64_t count, const std::vector<std::string>& names = {},
                  uint64_t rebuild_every = 0) {
        ScriptFuzzer fuzzer(seed);
        for (const std::string& name : names)
            fuzzer.add_name(name);
        FuzzRun run;
        run.seed = seed;
        run.count = count;
        run.trace = env_number("VELDEN_FUZZ_TRACE", 0) == 1;
        run.fuzzer = &fuzzer;
        current_run = &run;

        std::atomic<uint64_t> progress{0};
        std::atomic<bool> done{false};
        std::thread watchdog([&] {
            uint64_t last = ~0ull;
            auto since = std::chrono::steady_clock::now();
            while (!done) {
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
                uint64_t now = progress;
                if (now != last) {
                    last = now;
                    since = std::chrono::steady_clock::now();
                } else if (std::chrono::steady_clock::now() - since >
                           std::chrono::seconds(hang_seconds)) {
                    std::fprintf(stderr, "\nscript fuzz: no progress for %d s (hung)\n",
                                 hang_seconds);
                    print_recent();
                    _exit(3);
                }
            }
        });

        lua_State* L = this->L();
        static const int32_t keys[] = {vk::escape, vk::left,  vk::right, vk::up,
                                       vk::down,   vk::space, vk::enter, vk::control};
        while (run.made < count) {
            if (rebuild_every && run.made % rebuild_every == 0 && run.made > 0) {
                ScriptFuzzer::Call rebuild;
                rebuild.function = ScriptFuzzer::rerun_init;
                run.recent.push_back(rebuild);
                if (run.recent.size() > remembered_calls)
                    run.recent.pop_front();
                ScriptHost::run_script(Game::init_script, 0);
                // A finalizer a trick left raising may end the first attempt with its error
                // (Lua reports it from the line that was running); each runs only once.
                std::string repaired;
                for (int attempt = 0; attempt < 3; ++attempt)
                    if ((repaired = lua("__fuzz_repair()\nlf = LuaFunctions()")).empty())
                        break;
                EXPECT_EQ(repaired, "");
            }
            make_call(L, 0);
            progress = run.made;
            if (fuzzer.chance(40)) {
                const uint64_t frames = 1 + fuzzer.below(3);
                // Frame times as the frame loop gives them, and now and then none at all.
                const float dt = fuzzer.chance(20) ? 0.0f : 0.01f + 0.001f * fuzzer.below(16);
                tick(static_cast<int>(frames), dt);
                // A quit or menu state would not stop these frames; start from running again
                // now and then so the running paths get their share.
                if (fuzzer.chance(4))
                    Game::instance().state = GameState::running;
            }
            if (fuzzer.chance(200)) {
                const int32_t key = keys[fuzzer.below(std::size(keys))];
                if (keyboard.is_down(key))
                    keyboard.release(key);
                else
                    keyboard.press(key);
            }
            EXPECT_EQ(lua_gettop(L), 0) << "the interpreter's stack grew";
        }
        tick();
        done = true;
        watchdog.join();
        current_run = nullptr;
        return fuzzer.accepted;
    }

    void SetUp() override {
        EngineTest::SetUp();
        if (__sanitizer_set_death_callback) {
            __sanitizer_set_death_callback(print_recent);
        } else {
            for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
                signal(sig, on_fatal_signal);
        }
    }
};

}  // namespace

void report(const char* game, uint64_t seed, uint64_t count, uint64_t accepted) {
    std::printf(
        "script fuzz (%s): seed %llu, %llu calls made over %zu functions, %llu of them "
        "ran without a script error\n",
        game, (unsigned long long)seed, (unsigned long long)count, function_table().size(),
        (unsigned long long)accepted);
}

TEST_F(ScriptFuzz, RandomCallsOfEveryRegisteredFunctionNeverBreakTheEngine) {
    start_fuzz_game(false);
    const uint64_t seed = env_number("VELDEN_FUZZ_SEED", 20261210);
    const uint64_t count = env_number("VELDEN_FUZZ_CALLS", 40000);
    const uint64_t accepted = fuzz(seed, count);
    report("empty folder", seed, count, accepted);
    // Most calls must get past the argument checks, or the run tests only those.
    EXPECT_GT(accepted, count / 2);
}

// The same on the sample game: a full level, real pictures, and the names its scripts use.
TEST_F(ScriptFuzz, RandomCallsOnTheSampleGameNeverBreakTheEngine) {
    start_fuzz_game(true);
    // The sample game's level is up.
    ASSERT_EQ(lua("layers = lf:get_num_layers()"), "");
    ASSERT_GT(lua_number("layers"), 0);
    std::vector<std::string> names = script_names();
    ASSERT_GT(names.size(), 20u);
    const uint64_t seed = env_number("VELDEN_FUZZ_SEED", 20261211);
    const uint64_t count = env_number("VELDEN_FUZZ_CALLS", 30000);
    const uint64_t accepted = fuzz(seed, count, names, 1000);
    report("sample game", seed, count, accepted);
    EXPECT_GT(accepted, count / 2);
}

// The generator is replayable: the same seed gives the same calls, so a printed seed and count
// reproduce a failure.
TEST(ScriptFuzzer, SameSeedSameCalls) {
    ScriptFuzzer a(7), b(7), c(8);
    std::string ta, tb, tc;
    for (int i = 0; i < 500; ++i) {
        ta += ScriptFuzzer::describe(a.next(0)) + "\n";
        tb += ScriptFuzzer::describe(b.next(0)) + "\n";
        tc += ScriptFuzzer::describe(c.next(0)) + "\n";
    }
    EXPECT_EQ(ta, tb);
    EXPECT_NE(ta, tc);
}

// The same with level 2 of the script error log on, so the reports of calls naming what does
// not exist (and the search for the calling script's line) are fuzzed as well.
TEST_F(ScriptFuzz, RandomCallsWithMissingNamesReportedNeverBreakTheEngine) {
    setenv("VELDEN_SCRIPT_ERRORS", "2", 1);
    testing::internal::CaptureStderr();
    start_fuzz_game(false);
    const uint64_t seed = env_number("VELDEN_FUZZ_SEED", 20261212);
    const uint64_t count = env_number("VELDEN_FUZZ_CALLS", 10000);
    const uint64_t accepted = fuzz(seed, count);
    const std::string reported = testing::internal::GetCapturedStderr();
    unsetenv("VELDEN_SCRIPT_ERRORS");
    report("empty folder, missing names reported", seed, count, accepted);
    EXPECT_GT(accepted, count / 2);
    EXPECT_NE(reported.find("script error: "), std::string::npos);
}
