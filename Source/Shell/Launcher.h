#pragma once

#include <cstdint>
#include <string>

// The author's command, velden: runs a game folder in one of the display profiles, full screen
// as the profile executables do or in a window, and in developer mode with a restart on every
// change, script errors on screen and a frame overlay.
class Launcher {
  public:
    // Exit codes besides the game's own 0.
    static constexpr int no_window = 1;
    static constexpr int bad_usage = 2;

    struct Options {
        std::string game_folder;  // empty: the current folder, or the installed sample game
        int32_t width = 1280;
        int32_t height = 720;
        bool window = false;
        bool dev = false;
    };
    enum class Parsed { run, help, version, bad };

    // Reads the command line; on bad, error says what is wrong.
    static Parsed parse(int argc, char** argv, Options& options, std::string& error);
    static const char* usage();
    // One line pointing at --help, for a wrong command line.
    static const char* short_usage();
    static const char* version();

    // The folder to run: the one given; else the current folder when it has a Data folder;
    // else the sample game installed beside the program (when there is one).
    static std::string game_folder(const Options& options);
    // Where an installed velden keeps the sample game: share/velden/game beside its bin folder.
    static std::string installed_game();

    // Runs the game; returns the exit code. The game folder becomes the working directory.
    static int run(const Options& options);
};
