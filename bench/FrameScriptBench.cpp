// The frame script's cost: the engine loads and runs the file once a frame. A script of the
// tutorial's kind: a loop over a table of functions that compare the score and the hit points
// with what they showed last. No window is needed.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "Script/ScriptHost.h"

namespace {

const char* frame_script = R"(
for _, f in ipairs(every_frame) do
    f(parameter)
end
)";

const char* setup_script = R"(
lf = LuaFunctions()
every_frame = {}
local shown_points, shown_hp = -1, -1
every_frame[#every_frame + 1] = function()
    local p = lf:get_points()
    if p ~= shown_points then shown_points = p end
end
every_frame[#every_frame + 1] = function()
    local hp = lf:get_player_hp()
    if hp ~= shown_hp then shown_hp = hp end
end
)";

// A folder with the frame script, entered; the interpreter started with the setup run.
bool start_scripts() {
    static bool ok = [] {
        const auto dir = std::filesystem::temp_directory_path() / "velden-frame-script-bench";
        std::filesystem::create_directories(dir / "Data/Scripts");
        std::ofstream(dir / "Data/Scripts/frame.lua") << frame_script;
        std::ofstream(dir / "Data/Scripts/setup.lua") << setup_script;
        if (chdir(dir.c_str()) != 0)
            return false;
        ScriptHost::start();
        return ScriptHost::run_script("Data/Scripts/setup.lua", 0);
    }();
    return ok;
}

void BM_FrameScriptRun(benchmark::State& state) {
    if (!start_scripts()) {
        state.SkipWithError("the interpreter did not start");
        return;
    }
    int32_t frame = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(ScriptHost::run_script("Data/Scripts/frame.lua", ++frame));
}
BENCHMARK(BM_FrameScriptRun)->Unit(benchmark::kMicrosecond);

}  // namespace
