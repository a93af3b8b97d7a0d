#include "Support/EngineTest.h"

#include <GL/gl.h>
#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <lua.hpp>
#include <vector>

#include "Platform/Window.h"
#include "Scene/TempLists.h"
#include "Script/ScriptHost.h"
#include "Shell/Game.h"

namespace fs = std::filesystem;

namespace {

// Keeps every shared library loaded so far mapped until the process ends. The GL driver may
// unload its libraries before the leak report at exit, which then cannot name them, and the
// suppressions of their leaks no longer match.
void pin_loaded_libraries() {
    std::vector<std::string> names;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* out) {
            if (info->dlpi_name && info->dlpi_name[0])
                static_cast<std::vector<std::string>*>(out)->push_back(info->dlpi_name);
            return 0;
        },
        &names);
    for (const std::string& name : names)
        dlopen(name.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

}  // namespace

void EngineTest::SetUp() {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    char buf[4096];
    old_dir_ = getcwd(buf, sizeof buf) ? buf : "/";
    std::string templ = (fs::temp_directory_path() / "velden-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(templ.data()), nullptr);
    dir = templ;
    ASSERT_EQ(chdir(dir.c_str()), 0);
    fs::create_directories("Data/Scripts");
    Keyboard::set_current(&keyboard);
    Clock::set_current(&clock);
}

void EngineTest::TearDown() {
    pin_loaded_libraries();
    if (started_) {
        Game& game = Game::instance();
        game.shutdown();
        // Plain values outlive a shutdown; the next test starts as a new process would.
        game.state = GameState::running;
        game.score = Score();
        game.level_name.reset();
        game.frame_script.clear();
        game.frame_number = 0;
        game.draw_triggers = false;
        game.draw_segments = false;
        // So do what the scripts registered: fonts, textures and key names.
        TempLists::reset();
        Game::clear_registries();
    }
    Window::set_main(nullptr);
    window.reset();
    Keyboard::set_current(nullptr);
    Clock::set_current(nullptr);
    if (chdir(old_dir_.c_str()) != 0)
        ADD_FAILURE() << "chdir back";
    std::error_code ec;
    fs::remove_all(dir, ec);
}

void EngineTest::write_file(const std::string& path, const std::string& text) {
    fs::path p = fs::path(dir) / path;
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
}

void EngineTest::start(const std::string& init_script, int32_t width, int32_t height) {
    if (!init_script.empty())
        write_file(Game::init_script, init_script);
    window = Window::create("Vornholt", width, height);
    ASSERT_TRUE(window) << "no window: is an X server running?";
    window->show();
    Window::set_main(window.get());
    Game::instance().init();
    started_ = true;
}

void EngineTest::tick(int frames, float dt) {
    for (int i = 0; i < frames; ++i)
        Game::instance().tick(dt);
}

lua_State* EngineTest::L() {
    return ScriptHost::state();
}

std::string EngineTest::lua(const std::string& code) {
    lua_State* L = ScriptHost::state();
    if (!L)
        return "no interpreter";
    int top = lua_gettop(L);
    std::string error;
    if (luaL_loadstring(L, code.c_str()) != 0 || ScriptHost::pcall(L, 0, 0) != 0) {
        const char* msg = lua_tostring(L, -1);
        error = msg ? msg : "(error object is not a string)";
    }
    lua_settop(L, top);
    return error;
}

double EngineTest::lua_number(const std::string& global) {
    lua_State* L = ScriptHost::state();
    lua_getglobal(L, global.c_str());
    double v = lua_tonumber(L, -1);
    lua_pop(L, 1);
    return v;
}

std::string EngineTest::lua_string(const std::string& global) {
    lua_State* L = ScriptHost::state();
    int top = lua_gettop(L);
    lua_getglobal(L, "tostring");
    lua_getglobal(L, global.c_str());
    std::string v = "(nil)";
    if (!lua_isnil(L, -1) && lua_pcall(L, 1, 1, 0) == 0)
        v = lua_tostring(L, -1);
    lua_settop(L, top);
    return v;
}

EngineTest::Pixel EngineTest::pixel(int x, int y) {
    unsigned char p[4] = {0, 0, 0, 0};
    // Mesa's software rasteriser under Xvfb never copies a swap into the front buffer that
    // OpenGL reads back (the window gets the pixels, the front renderbuffer stays black), but
    // it keeps the back buffer intact across the swap: after present it holds exactly the
    // frame that went to the window.
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2], p[3]};
}

std::ostream& operator<<(std::ostream& os, const EngineTest::Pixel& p) {
    return os << "(" << p.r << ", " << p.g << ", " << p.b << ", " << p.a << ")";
}

std::string two_frame_animation(const std::string& name) {
    return "lf:init_subtexture('none', 'f0', 0, 0, 0.5, 1)\n"
           "lf:init_subtexture('none', 'f1', 0.5, 0, 1, 1)\n"
           "lf:init_animation('" +
           name + "', 0, 0)\nlf:animation_add_frame('" + name +
           "', 'f0', 0.1)\nlf:animation_add_frame('" + name + "', 'f1', 0.1)\n";
}
