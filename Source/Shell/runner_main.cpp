// Program entry of velden-run, the headless runner.
#include <cstdio>
#include <cstdlib>

#include "Shell/Runner.h"

int main(int argc, char** argv) {
    Runner::Options options;
    std::string error;
    if (!Runner::parse(argc, argv, options, error)) {
        if (!error.empty())
            std::fprintf(stderr, "velden-run: %s\n", error.c_str());
        std::fputs(Runner::usage(), error.empty() ? stdout : stderr);
        return error.empty() ? 0 : Runner::bad_usage;
    }
    // Headless runs are silent: without a sound card the system's audio library would complain
    // before SDL falls back.
    if (!options.audio && !std::getenv("SDL_AUDIODRIVER"))
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    return Runner::run(options);
}
