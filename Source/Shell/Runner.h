#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The headless runner (velden-run): runs a game folder for a given number of frames with a fixed
// frame time, a fixed random seed and keys from a timeline, and writes screenshots at given
// frames. Two runs with the same inputs do the same and write the same screenshots.
class Runner {
  public:
    // Exit codes.
    static constexpr int ended_by_game = 0;  // the game set the quit state
    static constexpr int out_of_frames = 1;  // every frame ran, the game still going
    static constexpr int bad_usage = 2;      // bad command line, unreadable key file or folder
    static constexpr int no_window = 3;      // no window or GL context (no X server?)
    static constexpr int failed_output = 4;  // a screenshot could not be written
    static constexpr int closed = 5;         // the window was closed or the runner signalled

    struct Options {
        std::string game_folder = ".";
        int64_t frames = 600;
        uint32_t frame_ms = 10;
        uint32_t seed = 1;
        std::string keys_file;
        bool random_keys = false;
        uint32_t random_keys_seed = 0;
        std::map<int64_t, std::vector<std::string>> shots;  // frame -> PNG paths
        int32_t width = 1280;
        int32_t height = 720;
        int64_t memory_every = 0;  // print peak resident memory every this many frames
        bool audio = false;        // the machine's sound output instead of the dummy driver
    };

    // Reads the command line; false with a message in error when it is wrong.
    static bool parse(int argc, char** argv, Options& options, std::string& error);
    static const char* usage();
    // Runs the game; returns one of the exit codes.
    static int run(const Options& options);
};
