#pragma once

// What the frame benchmarks share: a shown 1280x720 main window, a renderer set up the way a
// level draws, and a game started from an init script in a folder of its own.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "Platform/Window.h"
#include "Render/Camera.h"
#include "Render/GLRenderer.h"
#include "Shell/Game.h"

// Opens the window and makes it the main one; null when there is no display.
inline std::unique_ptr<Window> open_bench_window() {
    std::unique_ptr<Window> window = Window::create("Vornholt", 1280, 720);
    if (window) {
        window->show();
        Window::set_main(window.get());
    }
    return window;
}

// Alpha blending, no culling and no depth test, and a camera showing 1280x720 around the
// origin.
inline void set_up_bench_renderer(GLRenderer& renderer, Camera& camera) {
    renderer.set_blend_state(BlendState::alpha());
    renderer.set_cull_state({false, 0, 0});
    renderer.set_depth_state({false, false, 7});
    camera.left = -640;
    camera.right = 640;
    camera.bottom = -360;
    camera.top = 360;
    renderer.set_camera(&camera);
}

// A window with a renderer of its own and its camera, for the benchmarks that draw without a
// game.
struct BenchDrawing {
    std::unique_ptr<Window> window;
    std::unique_ptr<GLRenderer> renderer;
    std::unique_ptr<Camera> camera;

    // Opens the window and sets the renderer up; false without a display.
    bool open() {
        window = open_bench_window();
        if (!window)
            return false;
        renderer = std::make_unique<GLRenderer>();
        camera = std::make_unique<Camera>();
        set_up_bench_renderer(*renderer, *camera);
        return true;
    }
    bool ready() const { return renderer && renderer->has_context(); }
};

// Writes the init script into a temporary game folder named folder, enters it and starts the
// game in a window of its own, kept for the process. False without a display.
inline bool start_bench_game(const std::string& folder, const std::string& init_script) {
    static std::vector<std::unique_ptr<Window>> windows;
    const auto dir = std::filesystem::temp_directory_path() / folder;
    std::filesystem::create_directories(dir / "Data/Scripts");
    std::ofstream(dir / "Data/Scripts/INIT_test.lua") << init_script;
    if (chdir(dir.c_str()) != 0)
        return false;
    std::unique_ptr<Window> window = open_bench_window();
    if (!window)
        return false;
    windows.push_back(std::move(window));
    Game::instance().init();
    return true;
}
