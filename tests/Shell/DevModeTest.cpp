// The developer mode's frames in-process, on a real window with a scripted keyboard and clock:
// restarts on F5 and on changes under Data/, the error strip, and the frame overlay.
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Audio/MusicEngine.h"
#include "Audio/ToneFile.h"
#include "Platform/VirtualKeys.h"
#include "Render/FrameCapture.h"
#include "Shell/DevMode.h"
#include "Shell/FrameOverlay.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

namespace fs = std::filesystem;

namespace {

constexpr int32_t key_f3 = vk::f1 + 2;
constexpr int32_t key_f5 = vk::f1 + 4;

// A level whose one sprite covers the window in green (the velden command's tests play it too).
std::string green_game() {
    std::ifstream in(std::string(VELDEN_TEST_DATA) + "/games/green.lua");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

class DevModeTest : public EngineTest {
  protected:
    void TearDown() override {
        EngineTest::TearDown();
        dev.reset();
    }

    // Starts the game as every engine test does, then hands it to the developer mode, which
    // restarts it with script diagnostics on.
    void open(const std::string& init_script) {
        start(init_script);
        dev = std::make_unique<DevMode>((fs::path(dir) / "Data").string());
        ASSERT_TRUE(dev->watching());
        dev->restart(Game::instance());
        ASSERT_EQ(dev->restarts(), 1);
    }
    // Frames of 10 ms, by the engine's clock too.
    void frames(int n) {
        for (int i = 0; i < n; ++i) {
            dev->frame(Game::instance(), 0.01f);
            clock.now += 10;
        }
    }
    void key(int32_t vk) {
        keyboard.press(vk);
        frames(1);
        keyboard.release(vk);
    }
    // The presented frame's pixels.
    std::vector<uint8_t> screen() { return FrameCapture::read(1280, 720).pixels; }

    std::unique_ptr<DevMode> dev;
};

TEST_F(DevModeTest, F5AndFilesSavedUnderDataRestartTheGame) {
    open(green_game() + "starts = (starts or 0) + 1");
    frames(3);
    EXPECT_EQ(dev->restarts(), 1);
    key(key_f5);
    EXPECT_EQ(dev->restarts(), 2);
    // A new interpreter: what the run before set is gone.
    EXPECT_EQ(lua_number("starts"), 1);

    // A save's events settle first, then one restart.
    write_file("Data/Scripts/levels/more.lua", "-- more");
    frames(1);
    EXPECT_EQ(dev->restarts(), 2);
    frames(3);
    EXPECT_EQ(dev->restarts(), 3);
    frames(10);
    EXPECT_EQ(dev->restarts(), 3);

    // A folder made later is watched too.
    fs::create_directories(fs::path(dir) / "Data/Images/new");
    frames(5);
    EXPECT_EQ(dev->restarts(), 4);
    write_file("Data/Images/new/picture.png", "not yet a picture");
    frames(5);
    EXPECT_EQ(dev->restarts(), 5);

    // Editors' swap files, backups and files outside Data/ are not changes.
    for (const char* path :
         {"Data/Scripts/.INIT_test.lua.swp", "Data/Scripts/INIT_test.lua~", "notes.txt"})
        write_file(path, "-- not the game");
    frames(10);
    EXPECT_EQ(dev->restarts(), 5);
    EXPECT_FALSE(dev->waiting());
}

TEST_F(DevModeTest, TheOverlayLeavesTheFrameAloneUntilF3ShowsItAndF3HidesItAgain) {
    open(green_game());
    frames(2);
    const std::vector<uint8_t> plain = screen();
    // The game's own frame, without the developer mode.
    Game::instance().tick(0.01f);
    ASSERT_EQ(screen(), plain);

    key(key_f3);
    ASSERT_TRUE(dev->overlay_visible());
    frames(2);
    EXPECT_NE(screen(), plain);
    // The panel darkens the top-left corner; the rest of the frame is the game's.
    EXPECT_EQ(pixel(300, 620), (Pixel{0, 71, 0, 255}));
    EXPECT_EQ(pixel(1000, 300), (Pixel{0, 255, 0, 255}));
    // Every frame is measured, shown or not.
    EXPECT_EQ(dev->overlay().recorded(), 5);

    key(key_f3);
    EXPECT_FALSE(dev->overlay_visible());
    EXPECT_EQ(screen(), plain);
}

TEST_F(DevModeTest, AScriptErrorShowsInTheStripAtTheBottomForAFewSeconds) {
    write_file(Game::escape_script, "error('the escape script is broken')");
    open(green_game());
    keyboard.press(vk::escape);
    frames(1);
    keyboard.release(vk::escape);
    ASSERT_EQ(dev->strip().lines().size(), 1u);
    EXPECT_EQ(dev->strip().lines()[0].text,
              "Data/Scripts/escape_pressed.lua:1: the escape script is broken");
    frames(1);
    // The strip's dark red over the green game.
    EXPECT_EQ(pixel(640, 3), (Pixel{67, 35, 4, 255}));
    EXPECT_EQ(pixel(640, 300), (Pixel{0, 255, 0, 255}));
    clock.now += 4000;
    frames(1);
    EXPECT_EQ(pixel(640, 3), (Pixel{67, 35, 4, 255}));
    clock.now += 1000;
    frames(1);
    EXPECT_EQ(pixel(640, 3), (Pixel{0, 255, 0, 255}));
}

TEST_F(DevModeTest, AFailingStartUpWaitsWithItsErrorShownUntilAChangeFixesIt) {
    write_file(Game::escape_script, "escaped = true");
    open(green_game() + "lf:no_such_function()");  // line 8, after the green game's seven
    EXPECT_TRUE(dev->waiting());
    ASSERT_TRUE(dev->strip().pinned());
    ASSERT_EQ(dev->strip().lines().size(), 1u);
    EXPECT_NE(dev->strip().lines()[0].text.find("INIT_test.lua:8:"), std::string::npos);
    // The game is drawn as far as it was built, but not updated: its Escape script does not run.
    keyboard.press(vk::escape);
    frames(2);
    keyboard.release(vk::escape);
    EXPECT_EQ(lua_string("escaped"), "(nil)");
    clock.now += 60000;
    frames(1);
    EXPECT_EQ(pixel(640, 3), (Pixel{67, 35, 4, 255}));
    EXPECT_EQ(pixel(640, 300), (Pixel{0, 255, 0, 255}));

    write_file(Game::init_script, green_game());
    frames(5);
    EXPECT_EQ(dev->restarts(), 2);
    EXPECT_FALSE(dev->waiting());
    EXPECT_FALSE(dev->strip().showing(clock.now));
    EXPECT_EQ(pixel(640, 3), (Pixel{0, 255, 0, 255}));
    keyboard.press(vk::escape);
    frames(1);
    EXPECT_EQ(lua_string("escaped"), "true");
}

TEST_F(DevModeTest, TheOverlayCountsObjectsInLayersTriggersAIStatesAndSoundsPlaying) {
    write_tone((fs::path(dir) / "tone.wav").string(), 440, 2.0, 0.2);
    open(green_game() + R"(
lf:create_layer(1, 1, 0)
for i = 1, 2 do
    lf:create_sprite("s" .. i, 0, "", i * 10, 0)
    lf:gameobject_upload("s" .. i, 1, 10 + i)
    lf:create_trigger("t" .. i, 2, "", "", 0, 0)
    lf:timed_trigger_repeat("t" .. i, 1, true)
    lf:trigger_upload("t" .. i, 20 + i)
    lf:play_sfx("tone.wav")
end
)");
    frames(1);
    FrameOverlay::Counts expected;
    expected.layer_objects = 3;
    expected.triggers = 2;
    expected.sounds = Game::instance().music->ready() ? 2 : 0;
    EXPECT_EQ(FrameOverlay::count(Game::instance()), expected);
}

TEST(FrameOverlay, KeepsTheLast120FramesAndTheirRate) {
    FrameOverlay overlay;
    EXPECT_EQ(overlay.frames_per_second(), 0.0f);
    for (int i = 0; i < 200; ++i)
        overlay.record({0.5f, static_cast<float>(i), 1.0f, 2.0f}, i < 100 ? 40.0f : 10.0f);
    EXPECT_EQ(overlay.recorded(), 120);
    EXPECT_EQ(overlay.frame(0).update_ms, 199.0f);
    EXPECT_EQ(overlay.frame(119).update_ms, 80.0f);
    // 100 frames of 10 ms and 20 of 40 ms: 120 frames in 1.8 s.
    EXPECT_NEAR(overlay.frames_per_second(), 120 / 1.8f, 1e-3);
}
