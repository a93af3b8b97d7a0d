#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "Platform/Window.h"
#include "Support/ScriptedClock.h"
#include "Support/ScriptedKeyboard.h"

struct lua_State;

// Starts the engine the way the program does, on a real window and GL context under the X
// server, with the real interpreter, a scripted keyboard and clock, in a fresh game folder.
class EngineTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a file of the game folder (relative path), making its folders.
    void write_file(const std::string& path, const std::string& text);
    // Writes Data/Scripts/INIT_test.lua (when init_script is not empty), opens the window in the
    // given size, publishes it and runs Game::init.
    void start(const std::string& init_script = "", int32_t width = 1280, int32_t height = 720);
    // Runs frames with a fixed frame time.
    void tick(int frames = 1, float dt = 0.01f);

    // Runs a Lua chunk in the engine's interpreter; returns "" or the error message.
    std::string lua(const std::string& code);
    double lua_number(const std::string& global);
    std::string lua_string(const std::string& global);
    lua_State* L();

  public:
    struct Pixel {
        int r, g, b, a;
        bool operator==(const Pixel&) const = default;
    };

  protected:
    // A pixel of the last presented frame, (0, 0) at the window's lower-left corner.
    Pixel pixel(int x, int y);

    std::string dir;
    ScriptedKeyboard keyboard;
    ScriptedClock clock;
    std::unique_ptr<Window> window;

  private:
    std::string old_dir_;
    bool started_ = false;
};

std::ostream& operator<<(std::ostream& os, const EngineTest::Pixel& p);

// Lua that makes the animation name of two frames, 'f0' and 'f1' (the halves of a texture never
// loaded), each shown for 0.1 s; for scripts that set the global lf first.
std::string two_frame_animation(const std::string& name);
