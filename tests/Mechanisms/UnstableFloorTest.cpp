// Unstable floors: crumbling under a landing, dropping through, coming back.
#include <filesystem>

#include "Audio/MusicEngine.h"
#include "Audio/MusicRecord.h"
#include "Audio/Sound.h"
#include "Audio/ToneFile.h"
#include "Creatures/Player.h"
#include "Mechanisms/UnstableFloor.h"
#include "Scene/AnimatedSprite.h"
#include "Scene/Level.h"
#include "Scene/TempLists.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

namespace {

// After the two-frame animation "anim": floor 1 on strip 40 (fall delay 1 s, restore 3 s) with
// its three looks, a crumble track and two sounds; strip 41 has no floor.
const char* const prelude = R"(
    lf:create_level(0, 0, 0, 0)
    lf:create_layer(1, 1, 0)
    lf:create_segment_with_code(0, 0, 100, 0, 40)
    lf:upload_segmentstrip()
    lf:create_segment_with_code(200, 0, 300, 0, 41)
    lf:upload_segmentstrip()
    lf:unstablefloor_create(1, 3, 1, 0)
    lf:unstablefloor_segmentstrip(1, 40)
    for _, n in ipairs({'solid', 'fallen', 'crumbling'}) do lf:create_sprite(n, 1, 'anim', 50, 0) end
    lf:unstablefloor_animations(1, 'solid', 'fallen', 'crumbling')
    lf:create_sound('restore', 'Data/Sounds/beep.wav', 1000, 0, 0)
    lf:create_sound('fall', 'Data/Sounds/beep.wav', 1000, 0, 0)
    lf:create_music('rumble', 'Data/Sounds/hum.wav')
    lf:unstablefloor_audio(1, 'restore', 'fall', 'rumble')
)";

}  // namespace

class UnstableFloorTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        write_test_tones(dir);
    }
    void begin(const std::string& script = "") {
        start("lf = LuaFunctions()\n" + two_frame_animation("anim") + prelude + script);
    }
    Level& level() { return *Game::instance().level; }
    SegmentStrip& strip(size_t i) { return *level().segment_strips[i]; }
    UnstableFloor* floor(int32_t id) { return level().unstable_floors.find_by_id(id); }
    std::string tracks() { return Game::instance().music->track_names(); }
};

TEST_F(UnstableFloorTest, LandingCrumblesFallsAfterTheDelayAndRestoresLater) {
    begin();
    UnstableFloor* f = floor(1);
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(f->strip.get(), &strip(0));
    EXPECT_EQ(f->current_sprite(), f->solid_sprite.get());
    EXPECT_EQ(TempLists::instance().game_objects.find("solid"), nullptr);
    EXPECT_EQ(TempLists::instance().sounds.find("fall"), nullptr);
    EXPECT_EQ(TempLists::instance().music.find("rumble"), nullptr);
    ASSERT_TRUE(Game::instance().music->ready());
    tick(10);
    EXPECT_EQ(f->state, UnstableFloor::solid);

    level().unstable_floors.landed_on(strip(1));  // no floor there
    level().unstable_floors.landed_on(strip(0));
    EXPECT_EQ(f->state, UnstableFloor::crumbling);
    EXPECT_EQ(f->current_sprite(), f->crumbling_sprite.get());
    EXPECT_EQ(tracks(), "hum.wav");
    // Fall delay: the strip holds for 1 s of updates and gives way on the update that ends it.
    int frames_to_fall = 0;
    while (strip(0).enabled && frames_to_fall < 200) {
        tick(1, 0.1f);
        ++frames_to_fall;
        if (frames_to_fall == 5)  // a second landing while crumbling restarts nothing
            level().unstable_floors.landed_on(strip(0));
    }
    EXPECT_GE(frames_to_fall, 10);
    EXPECT_LE(frames_to_fall, 11);
    EXPECT_EQ(f->state, UnstableFloor::fallen);
    EXPECT_EQ(f->current_sprite(), f->fallen_sprite.get());
    EXPECT_EQ(tracks(), "");
    // A landing on a disabled strip does nothing.
    level().unstable_floors.landed_on(strip(0));
    EXPECT_EQ(f->state, UnstableFloor::fallen);
    int frames_to_restore = 0;
    while (!strip(0).enabled && frames_to_restore < 200) {
        tick(1, 0.1f);
        ++frames_to_restore;
    }
    EXPECT_GE(frames_to_restore, 30);
    EXPECT_LE(frames_to_restore, 31);
    EXPECT_EQ(f->state, UnstableFloor::solid);
    EXPECT_EQ(f->current_sprite(), f->solid_sprite.get());
    // And it can crumble again.
    level().unstable_floors.landed_on(strip(0));
    EXPECT_EQ(f->state, UnstableFloor::crumbling);
}

TEST_F(UnstableFloorTest, FloorsWithoutAStripOrALayerAndBadNamesChangeNothing) {
    begin(R"(
        lf:unstablefloor_create(2, 3, 1, 0)           -- never given a strip
        lf:unstablefloor_create(3, 3, 1, 5)           -- no layer 5
        lf:unstablefloor_segmentstrip(2, 999)         -- no such strip
        lf:unstablefloor_segmentstrip(77, 41)         -- no such floor
        lf:unstablefloor_animations(2, 'nope', 'nope', 'nope')
        lf:unstablefloor_audio(2, 'nope', 'nope', 'nope')
        lf:create_sound('s', 'x.wav', 1, 0, 0)
        lf:unstablefloor_animations(2, 's', '', '')   -- a sound is not a sprite
    )");
    UnstableFloor* f = floor(2);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->strip.get(), nullptr);
    EXPECT_EQ(f->solid_sprite, nullptr);
    EXPECT_EQ(floor(3), nullptr);
    EXPECT_EQ(level().unstable_floors.count(), 2u);
    f->step_on();
    tick(100);
    EXPECT_EQ(f->state, UnstableFloor::solid);
    EXPECT_NE(TempLists::instance().sounds.find("s"), nullptr);
    // Without a level nothing is made.
    Game::instance().replace_level(nullptr);
    EXPECT_EQ(lua("lf:unstablefloor_create(4, 1, 1, 0) lf:unstablefloor_segmentstrip(4, 40) "
                  "lf:unstablefloor_animations(4, 'a', 'b', 'c')"),
              "");
}

TEST_F(UnstableFloorTest, AFloorDestroyedElsewhereIsForgottenAndItsTrackStops) {
    begin();
    level().unstable_floors.landed_on(strip(0));
    EXPECT_EQ(tracks(), "hum.wav");
    EXPECT_EQ(lua("lf:remove_gameobject(1)"), "");
    EXPECT_EQ(floor(1), nullptr);
    EXPECT_EQ(level().unstable_floors.count(), 0u);
    EXPECT_EQ(tracks(), "");
    level().unstable_floors.landed_on(strip(0));
    tick(20, 0.1f);
    EXPECT_TRUE(strip(0).enabled);
}

TEST_F(UnstableFloorTest, ALevelReplacedWhileAFloorCrumblesLeavesNothingBehind) {
    write_file("Data/Scripts/next.lua", R"(
        lf:create_level(0, 0, 0, 0)
        lf:create_layer(1, 1, 0)
    )");
    begin(R"(
        lf:create_trigger('t', 2, 'Data/Scripts/next.lua', '', 0, 0)
        lf:timed_trigger_repeat('t', 0.5, false)
        lf:trigger_upload('t', 9)
    )");
    level().unstable_floors.landed_on(strip(0));
    tick(30, 0.1f);
    EXPECT_EQ(level().unstable_floors.count(), 0u);
    EXPECT_EQ(level().segment_strips.size(), 0u);
    EXPECT_EQ(tracks(), "");
}

TEST_F(UnstableFloorTest, ReplacingLooksDestroysTheOldOnesAndKeepsTheShownKind) {
    begin(R"(
        lf:create_sprite('fallen2', 1, 'anim', 0, 0)
        lf:create_sprite('solid2', 1, 'anim', 0, 0)
    )");
    UnstableFloor* f = floor(1);
    level().unstable_floors.landed_on(strip(0));
    tick(11, 0.1f);
    ASSERT_EQ(f->state, UnstableFloor::fallen);
    lua("lf:unstablefloor_animations(1, '', 'fallen2', '')");
    EXPECT_EQ(f->current_sprite(), f->fallen_sprite.get());
    EXPECT_EQ(TempLists::instance().game_objects.find("fallen2"), nullptr);
    // Setting the solid look also shows it.
    lua("lf:unstablefloor_animations(1, 'solid2', '', '')");
    EXPECT_EQ(f->current_sprite(), f->solid_sprite.get());
}

TEST_F(UnstableFloorTest, ThePlayerLandingOnAFloorFallsThroughItAndTheFloorComesBack) {
    begin(R"(
        lf:create_segment_with_code(-100, -200, 400, -200, 50)   -- ground far below
        lf:upload_segmentstrip()
        lf:create_creature('hero', 0, 'anim', 'anim', 'anim', 'anim')
        lf:creature_translation('hero', 0, 50, 40)
        lf:creature_gravity('hero', 0, 500)
        lf:upload_player_to_layer(0)
    )");
    ASSERT_TRUE(Game::instance().player);
    const CreatureBody& body = Game::instance().player->body;
    UnstableFloor* f = floor(1);
    // It drops onto the floor's strip, which starts to crumble under it.
    for (int i = 0; i < 300 && f->state == UnstableFloor::solid; ++i)
        tick();
    ASSERT_EQ(f->state, UnstableFloor::crumbling);
    EXPECT_EQ(body.ground.get(), &strip(0));
    EXPECT_NEAR(body.transform.position.y, 0.0f, 1.0f);
    // After the fall delay the strip lets go and the player falls through to the ground below.
    tick(150);
    EXPECT_EQ(f->state, UnstableFloor::fallen);
    EXPECT_NE(body.ground.get(), &strip(0));
    EXPECT_LT(body.transform.position.y, -100.0f);
    tick(400);
    EXPECT_EQ(f->state, UnstableFloor::solid);
    EXPECT_TRUE(strip(0).enabled);
}

TEST_F(UnstableFloorTest, AFastFallOntoAFloorCrumblesItAsASlowLandingDoes) {
    begin(R"(
        lf:create_creature('hero', 0, 'anim', 'anim', 'anim', 'anim')
        lf:creature_translation('hero', 0, 50, 600)
        lf:creature_gravity('hero', 0, 20000)
        lf:upload_player_to_layer(0)
    )");
    ASSERT_TRUE(Game::instance().player);
    UnstableFloor* f = floor(1);
    for (int i = 0; i < 100 && f->state == UnstableFloor::solid; ++i)
        tick(1, 0.025f);
    EXPECT_EQ(f->state, UnstableFloor::crumbling);
    EXPECT_EQ(Game::instance().player->body.ground.get(), &strip(0));
}
