// Restarting the sample game in its window, as velden --dev does after every saved change: the
// whole teardown, the reset of the process-wide tables and the start-up again (scripts, PNG
// decoding, texture upload, fonts, audio). Needs an X display.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <memory>

#include "BenchSetup.h"
#include "Scene/Level.h"
#include "Shell/Game.h"

namespace fs = std::filesystem;

namespace {

bool start_sample_game() {
    static std::unique_ptr<Window> window;
    if (window)
        return true;
    const fs::path dir = fs::temp_directory_path() / "velden-restart-bench";
    std::error_code ec;
    fs::remove_all(dir, ec);
    fs::create_directories(dir);
    fs::copy(fs::path(VELDEN_GAME_DIR) / "Data", dir / "Data", fs::copy_options::recursive, ec);
    if (ec || chdir(dir.c_str()) != 0)
        return false;
    window = open_bench_window();
    if (!window)
        return false;
    return Game::instance().init() && Game::instance().level;
}

void BM_RestartSampleGame(benchmark::State& state) {
    if (!start_sample_game()) {
        state.SkipWithError("no window or no sample game (is an X server running?)");
        return;
    }
    for (auto _ : state) {
        if (!Game::instance().restart() || !Game::instance().level) {
            state.SkipWithError("the sample game did not start again");
            return;
        }
    }
}
BENCHMARK(BM_RestartSampleGame)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
