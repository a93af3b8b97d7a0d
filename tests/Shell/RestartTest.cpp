// Restarting the game in its window, as velden --dev does after every change: the sample game
// is as at its first start, and nothing of the run before is left.
#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's allocator statistics (GCC ships no header declaring them).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

#include "Audio/MusicEngine.h"
#include "Audio/Sound.h"
#include "Creatures/CharacterController.h"
#include "Flow/KeyNames.h"
#include "Mechanisms/Trigger.h"
#include "Mechanisms/TriggerManager.h"
#include "Physics/SegmentStrip.h"
#include "Platform/VirtualKeys.h"
#include "Render/Camera.h"
#include "Render/LetterTable.h"
#include "Render/Registries.h"
#include "Scene/Layer.h"
#include "Scene/Level.h"
#include "Scene/TempLists.h"
#include "Shell/FrameOverlay.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

namespace fs = std::filesystem;

namespace {

// What a start of the game makes, in numbers.
struct Snapshot {
    size_t textures, sub_textures, animations, bitmap_fonts, font_maps, key_names, fonts;
    int32_t layers;
    FrameOverlay::Counts counts;
    GameState state;
    int32_t points;
    std::optional<std::string> level_name;
    float camera_x, camera_y;
    bool draw_triggers;
    bool music_paused;
    std::string tracks;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot() {
    const Game& game = Game::instance();
    return {TextureRegistry::instance().size(),
            SubTextureRegistry::instance().size(),
            AnimationRegistry::instance().size(),
            BitmapFontRegistry::instance().size(),
            FontMapRegistry::instance().size(),
            KeyNames::instance().size(),
            game.fonts.size(),
            game.level ? game.level->layer_count() : -1,
            FrameOverlay::count(game),
            game.state,
            game.score.points,
            game.level_name,
            game.camera->position.x,
            game.camera->position.y,
            game.draw_triggers,
            game.music->music_paused(),
            game.music->track_names()};
}

}  // namespace

class RestartTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        fs::copy(fs::path(VELDEN_GAME_DIR) / "Data", fs::path(dir) / "Data",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }

    // Leaves the title menu, walks and jumps, so the run changes what start-up made, and leaves
    // objects waiting in the temp lists.
    void play() {
        keyboard.press(vk::enter);
        tick();
        keyboard.release(vk::enter);
        keyboard.press(vk::right);
        tick(40);
        keyboard.press(vk::up);
        tick(10);
        keyboard.release(vk::up);
        keyboard.release(vk::right);
        tick(20);
        ASSERT_EQ(lua(R"(
            local lf = LuaFunctions()
            lf:create_sprite("waiting", 0, "", 0, 0)
            lf:create_circle("waiting", 0, 0, 5)
            lf:create_sound("waiting", "Data/Sounds/coin.wav", 1, 100, 1)
            lf:create_trigger("waiting", 2, "", "", 0, 0)
            lf:add_vk_pair(81, "quit_key")
            lf:add_points(50)
            lf:set_level_name("changed")
            lf:draw_triggers(true)
            lf:set_audio_pause(true)
            lf:add_music("Data/Sounds/birds1.wav")
        )"),
                  "");
    }
};

TEST_F(RestartTest, TheSampleGameStartsAgainAsAtItsFirstStartWithNothingOfTheRunBefore) {
    start();
    const Snapshot first = snapshot();
    ASSERT_EQ(first.state, GameState::menu);
    ASSERT_GT(first.counts.layer_objects, 0);
    play();
    ASSERT_NE(snapshot(), first) << "the run changed nothing";

    // Checked references to what the run made: each empties when its object goes.
    const Game& game = Game::instance();
    std::vector<Ref<Layer>> layers;
    std::vector<Ref<GameObject>> objects;
    for (const auto& layer : game.level->layers) {
        layers.emplace_back(layer.get());
        for (size_t i = 0; i < layer->size(); ++i)
            objects.emplace_back(layer->object_at(i));
    }
    std::vector<Ref<Trigger>> triggers;
    for (Trigger* trigger : game.triggers->triggers())
        triggers.emplace_back(trigger);
    std::vector<Ref<SegmentStrip>> strips;
    for (const auto& strip : game.level->segment_strips)
        strips.emplace_back(strip.get());
    std::vector<Ref<LetterTable>> fonts;
    for (const auto& [name, table] : game.fonts)
        fonts.emplace_back(table.get());
    TempLists& temp = TempLists::instance();
    objects.emplace_back(temp.game_objects.find("waiting"));
    triggers.emplace_back(temp.triggers.find("waiting"));
    const Ref<Shape> shape(temp.shapes.find("waiting"));
    const Ref<Sound> sound(temp.sounds.find("waiting"));
    const Ref<CharacterController> controller(game.player_controller.get());
    ASSERT_TRUE(shape && sound && controller && objects.back() && triggers.back());
    ASSERT_GT(objects.size(), 100u);
    ASSERT_GT(triggers.size(), 10u);

    ASSERT_TRUE(Game::instance().restart());

    auto empty = [](const auto& refs) {
        return std::all_of(refs.begin(), refs.end(), [](const auto& r) { return !r; });
    };
    EXPECT_TRUE(empty(layers));
    EXPECT_TRUE(empty(objects));
    EXPECT_TRUE(empty(triggers));
    EXPECT_TRUE(empty(strips));
    EXPECT_TRUE(empty(fonts));
    EXPECT_FALSE(shape);
    EXPECT_FALSE(sound);
    EXPECT_FALSE(controller);
    EXPECT_FALSE(TempLists::instance().game_objects.contains("waiting"));
    EXPECT_EQ(KeyNames::instance().code_of("quit_key"), 0);
    EXPECT_EQ(snapshot(), first);
    // The new run plays as the first did.
    keyboard.press(vk::enter);
    tick();
    keyboard.release(vk::enter);
    tick(10);
    EXPECT_EQ(Game::instance().state, GameState::running);
}

TEST_F(RestartTest, RestartsLeaveTheHeapAsTheyFoundIt) {
#if !defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "needs the sanitizer build's allocator statistics";
#else
    // What a run leaves behind would pile up restart after restart.
    start();
    auto run = [&] {
        ASSERT_TRUE(Game::instance().restart());
        play();
    };
    run();
    const size_t after_first = __sanitizer_get_current_allocated_bytes();
    run();
    run();
    const size_t after_last = __sanitizer_get_current_allocated_bytes();
    EXPECT_LT(static_cast<long>(after_last) - static_cast<long>(after_first), 16 * 1024)
        << after_first << " bytes after the first run, " << after_last << " after the third";
#endif
}

TEST_F(RestartTest, AFailingStartUpScriptIsToldAndTheNextStartRecovers) {
    start();
    const Snapshot first = snapshot();
    write_file("Data/Scripts/INIT_test.lua", "do_that_thing()");
    EXPECT_FALSE(Game::instance().restart());
    EXPECT_FALSE(Game::instance().level);
    fs::copy(fs::path(VELDEN_GAME_DIR) / "Data/Scripts/INIT_test.lua",
             fs::path(dir) / "Data/Scripts/INIT_test.lua", fs::copy_options::overwrite_existing);
    EXPECT_TRUE(Game::instance().restart());
    EXPECT_EQ(snapshot(), first);
}
