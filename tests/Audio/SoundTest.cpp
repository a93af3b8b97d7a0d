// Sounds, collections, effects, the sound queue and the script functions of music and sounds,
// on the mixer's dummy output: what plays is read back from the mixer's channels.
#include <SDL_mixer.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <map>
#include <set>

#include "Audio/MusicEngine.h"
#include "Audio/MusicRecord.h"
#include "Audio/Sound.h"
#include "Audio/SoundEffect.h"
#include "Audio/SoundQueue.h"
#include "Audio/SoundVarietyCollection.h"
#include "Audio/ToneFile.h"
#include "Scene/Level.h"
#include "Scene/TempLists.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

class SoundTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        write_test_tones(dir);
    }

    MusicEngine& engine() { return *Game::instance().music; }
    SoundQueue& queue() { return *Game::instance().sound_queue; }
    static int playing() { return Mix_Playing(-1); }
    static Sound* sound(const std::string& name) { return TempLists::instance().sounds.find(name); }

    // A level with one layer, for sound effects.
    static constexpr const char* level_script = R"(
        lf = LuaFunctions()
        lf:create_level(0, 0, 0, 0)
        lf:create_layer(1, 1, 0)
    )";
};

TEST(SoundQueue, KeepsASoundOnlyWhenTheListenerIsWithinRange) {
    SoundQueue queue;
    Sound near("a.wav", 100, 0, 0);
    queue.set_listener(60, 80);  // exactly 100 away
    queue.offer(near);
    EXPECT_EQ(queue.pending(), 1u);
    queue.set_listener(60, 81);
    queue.offer(near);
    EXPECT_EQ(queue.pending(), 1u);

    // Without a range a sound is heard everywhere; bad numbers are heard nowhere.
    Sound everywhere;
    everywhere.path = "b.wav";
    everywhere.x = 1e30f;
    Sound silent;  // no path: nothing to play
    queue.offer(silent);
    EXPECT_EQ(queue.pending(), 1u);
    queue.offer(everywhere);
    EXPECT_EQ(queue.pending(), 2u);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Bad {
        float range, x, y;
    };
    for (Bad b : {Bad{nan, 0, 0}, Bad{100, nan, 0}, Bad{100, inf, 0}, Bad{-1, 60, 81}}) {
        Sound bad("a.wav", b.range, b.x, b.y);
        queue.offer(bad);
        EXPECT_EQ(queue.pending(), 2u);
    }
}

TEST(SoundQueue, LoudnessFallsWithDistanceAndPanFollowsTheSide) {
    SoundQueue queue;
    queue.set_listener(100, -50);
    const float wide = std::numeric_limits<float>::max();
    EXPECT_FLOAT_EQ(queue.gain(100, -50, wide), 1.0f);
    // Quieter with distance, to a floor a view's width away or at the range's edge.
    EXPECT_GT(queue.gain(100, 150, wide), queue.gain(100, 550, wide));
    EXPECT_FLOAT_EQ(queue.gain(100, 1230, wide), 0.25f);
    EXPECT_FLOAT_EQ(queue.gain(100, 1e9f, wide), 0.25f);
    EXPECT_FLOAT_EQ(queue.gain(100, 50, 100), 0.25f);
    EXPECT_FLOAT_EQ(queue.gain(100, 0, 100), 0.625f);
    EXPECT_FLOAT_EQ(queue.gain(100, -50, 0), 1.0f);
    // Right of the listener is right; fully to one side half a view away.
    EXPECT_FLOAT_EQ(queue.pan(100), 0.0f);
    EXPECT_FLOAT_EQ(queue.pan(420), 0.5f);
    EXPECT_FLOAT_EQ(queue.pan(-540), -1.0f);
    EXPECT_FLOAT_EQ(queue.pan(5000), 1.0f);
    EXPECT_FLOAT_EQ(queue.pan(std::numeric_limits<float>::quiet_NaN()), 0.0f);
}

TEST(SoundVarietyCollection, PicksEveryPathAndACloneKeepsTheLastPick) {
    SoundVarietyCollection c(50, 1, 2);
    c.pick();
    EXPECT_EQ(c.current_path(), "");  // empty: nothing to play
    c.add_path("only.wav");
    for (int i = 0; i < 20; ++i) {
        c.pick();
        EXPECT_EQ(c.current_path(), "only.wav");
    }
    c.add_path("b.wav");
    c.add_path("c.wav");
    std::map<std::string, int> picked;
    for (int i = 0; i < 600; ++i) {
        c.pick();
        ++picked[c.current_path()];
    }
    EXPECT_EQ(picked.size(), 3u);
    for (auto& [path, n] : picked)
        EXPECT_GT(n, 100) << path;  // the last path added is picked too

    std::unique_ptr<Sound> copy = c.clone();
    EXPECT_EQ(dynamic_cast<SoundVarietyCollection*>(copy.get()), nullptr);
    EXPECT_EQ(copy->current_path(), c.current_path());
    EXPECT_EQ(copy->range, 50);
    EXPECT_EQ(copy->x, 1);
    EXPECT_EQ(copy->y, 2);
    c.clear();
    c.pick();
    EXPECT_EQ(c.current_path(), "");
}

TEST(MusicRecord, TheNameIsThePartAfterTheLastSlash) {
    struct Case {
        const char* path;
        const char* name;
    };
    for (Case k : {Case{"Data/Music/meadow.wav", "meadow.wav"}, Case{"meadow.wav", "meadow.wav"},
                   Case{"", ""}, Case{"Data/Music/", ""}, Case{"a/b\\c.wav", "b\\c.wav"}}) {
        MusicRecord r(k.path);
        EXPECT_EQ(r.path, k.path);
        EXPECT_EQ(r.file_name, k.name) << k.path;
    }
}

TEST_F(SoundTest, MusicRecordsStartAndStopTracksByName) {
    start(R"(
        lf = LuaFunctions()
        lf:create_music("hum", "Data/Sounds/hum.wav")
        lf:add_music("Data/Sounds/beep.wav")
    )");
    ASSERT_TRUE(engine().ready());
    MusicRecord* hum = TempLists::instance().music.find("hum");
    ASSERT_NE(hum, nullptr);
    hum->start();
    hum->start();
    EXPECT_EQ(engine().track_names(), "beep.wav hum.wav hum.wav");
    hum->stop();
    EXPECT_EQ(engine().track_names(), "beep.wav");
    EXPECT_EQ(lua("lf:remove_music('Data/Sounds/beep.wav')"), "");  // a path is not a name
    EXPECT_EQ(engine().track_names(), "beep.wav");
    EXPECT_EQ(lua("lf:add_music('Data/Sounds/hum.wav') lf:reset_music()"), "");
    EXPECT_EQ(engine().track_names(), "");
    EXPECT_EQ(playing(), 0);
}

TEST_F(SoundTest, VolumesInsideTheirRangesTakeEffectAndOthersAreIgnored) {
    start(R"(
        lf = LuaFunctions()
        lf:add_music("Data/Sounds/hum.wav")
        lf:play_sfx("Data/Sounds/beep.wav")
    )");
    ASSERT_EQ(playing(), 2);
    const int music = 0, effect = 1;  // the channels they took
    auto master = [] { return Mix_MasterVolume(-1); };
    auto volume = [](int channel) { return Mix_Volume(channel, -1); };
    struct Step {
        const char* call;
        int master, music, effect;  // 0..128 afterwards
    };
    for (Step s :
         {Step{"lf:set_master_volume(0.5)", 64, 128, 128},
          Step{"lf:set_master_volume(0)", 0, 128, 128},
          Step{"lf:set_master_volume(1)", 128, 128, 128},
          Step{"lf:set_master_volume(1.5)", 128, 128, 128},
          Step{"lf:set_master_volume(-0.1)", 128, 128, 128},
          Step{"lf:set_master_volume(0/0)", 128, 128, 128},
          Step{"lf:set_music_volume(0.25)", 128, 32, 128},
          Step{"lf:set_music_volume(1)", 128, 32, 128},
          Step{"lf:set_music_volume(0)", 128, 32, 128},
          Step{"lf:set_music_volume(0/0)", 128, 32, 128},
          Step{"lf:set_sfx_volume(0.75)", 128, 32, 96}, Step{"lf:set_sfx_volume(1)", 128, 32, 96},
          Step{"lf:set_sfx_volume(0)", 128, 32, 96}}) {
        ASSERT_EQ(lua(s.call), "");
        EXPECT_EQ(master(), s.master) << s.call;
        EXPECT_EQ(volume(music), s.music) << s.call;
        EXPECT_EQ(volume(effect), s.effect) << s.call;
    }
    // New channels start at their group's volume.
    ASSERT_EQ(lua("lf:add_music('Data/Sounds/hum.wav') lf:play_sfx('Data/Sounds/beep.wav')"), "");
    EXPECT_EQ(volume(2), 32);
    EXPECT_EQ(volume(3), 96);
}

TEST_F(SoundTest, PauseHoldsTheMusicOnlyAndIsKeptFromTheStart) {
    // Paused in the start-up script, before the mixer's clock has ticked.
    start(R"(
        lf = LuaFunctions()
        lf:add_music("Data/Sounds/hum.wav")
        lf:set_audio_pause(true)
        paused = lf:is_audio_paused()
    )");
    EXPECT_EQ(lua_string("paused"), "true");
    EXPECT_EQ(Mix_Paused(0), 1);
    // Tracks added while paused wait too; effects play.
    ASSERT_EQ(lua("lf:add_music('Data/Sounds/beep.wav') lf:play_sfx('Data/Sounds/beep.wav')"), "");
    EXPECT_EQ(Mix_Paused(1), 1);
    EXPECT_EQ(Mix_Paused(2), 0);
    EXPECT_EQ(Mix_Playing(2), 1);
    ASSERT_EQ(lua("lf:set_audio_pause(false) paused = lf:is_audio_paused()"), "");
    EXPECT_EQ(lua_string("paused"), "false");
    EXPECT_EQ(Mix_Paused(-1), 0);
    EXPECT_EQ(playing(), 3);
}

TEST_F(SoundTest, ScriptFunctionsFillTheTempLists) {
    start(std::string(level_script) + R"(
        lf:create_sound("step", "Data/Sounds/beep.wav", 300, 10, 20)
        lf:create_sound("plain", "a.wav", 1, 0, 0)
        lf:add_sound_to_variety_collection("plain", "b.wav")  -- a plain sound takes the path
        lf:add_sound_to_variety_collection("nobody", "b.wav")
        lf:create_sound_variety_collection("birds", 500, -5, 5)
        lf:add_sound_to_variety_collection("birds", "x.wav")
        lf:add_sound_to_variety_collection("birds", "y.wav")
        lf:create_sound_effect("fx", "step", 1, true)
        lf:create_sound_effect("none", "nobody", 1, true)
        lf:create_sound("kept", "Data/Sounds/beep.wav", 300, 0, 0)
    )");
    ASSERT_EQ(sound("step"), nullptr);  // the effect took it
    EXPECT_EQ(sound("plain")->path, "b.wav");
    auto* birds = dynamic_cast<SoundVarietyCollection*>(sound("birds"));
    ASSERT_NE(birds, nullptr);
    EXPECT_EQ(birds->paths, (std::vector<std::string>{"x.wav", "y.wav"}));
    EXPECT_EQ(birds->range, 500);
    EXPECT_EQ(birds->x, -5);
    auto* fx = dynamic_cast<SoundEffect*>(TempLists::instance().game_objects.find("fx"));
    ASSERT_NE(fx, nullptr);
    ASSERT_TRUE(fx->sound);
    EXPECT_EQ(fx->sound->path, "Data/Sounds/beep.wav");
    EXPECT_EQ(fx->sound->range, 300);
    EXPECT_EQ(fx->sound->x, 10);
    EXPECT_EQ(fx->sound->y, 20);
    EXPECT_EQ(fx->interval, 1);
    EXPECT_TRUE(fx->repeat);
    EXPECT_EQ(TempLists::instance().game_objects.find("none"), nullptr);

    // A forgotten name leaves the sound alive for whoever uses it.
    Sound* kept = sound("kept");
    ASSERT_EQ(lua("lf:remove_sound_from_sounds_temp('kept') lf:remove_sound_from_sounds_temp('x')"),
              "");
    EXPECT_EQ(sound("kept"), nullptr);
    kept->play();
    tick();
    EXPECT_EQ(playing(), 1);
}

TEST_F(SoundTest, AOneShotEffectPlaysOnceAfterItsIntervalAndLeavesItsLayer) {
    start(std::string(level_script) + R"(
        lf:create_sound("once", "Data/Sounds/beep.wav", 1000, 0, 0)
        lf:create_sound_effect("once", "once", 2, false)
        lf:gameobject_upload("once", 0, 7)
        lf:create_sound("again", "Data/Sounds/beep.wav", 1000, 0, 0)
        lf:create_sound_effect("again", "again", 0.5, true)
        lf:gameobject_upload("again", 0, 8)
    )");
    Level& level = *Game::instance().level;
    // Half-second frames: the one-shot effect plays on the fourth, the repeating one on each.
    for (int frame = 1; frame <= 4; ++frame) {
        EXPECT_NE(level.find_by_id(7), nullptr) << frame;
        tick(1, 0.5f);
        EXPECT_EQ(playing(), frame + (frame == 4)) << frame;
    }
    EXPECT_EQ(level.find_by_id(7), nullptr);
    EXPECT_NE(level.find_by_id(8), nullptr);
}

TEST_F(SoundTest, AnEffectWithoutAPositiveIntervalStaysSilent) {
    start(std::string(level_script) + R"(
        for i, interval in ipairs({0, -1, 0/0}) do
            lf:create_sound("s", "Data/Sounds/beep.wav", 1000, 0, 0)
            lf:create_sound_effect("e", "s", interval, false)
            lf:gameobject_upload("e", 0, 20 + i)
        end
    )");
    tick(50, 0.1f);
    EXPECT_EQ(playing(), 0);
    for (int id : {21, 22, 23})
        EXPECT_NE(Game::instance().level->find_by_id(id), nullptr);
}

TEST_F(SoundTest, AnEffectWithATinyIntervalDoesNotHangTheFrame) {
    start(std::string(level_script) + R"(
        lf:create_sound("s", "Data/Sounds/beep.wav", 1000, 0, 0)
        lf:create_sound_effect("e", "s", 1e-30, true)
        lf:gameobject_upload("e", 0, 5)
    )");
    tick(3);
    EXPECT_EQ(playing(), 3);
}

TEST_F(SoundTest, BadSoundsPlayNothingAndFailNothing) {
    write_file("Data/Sounds/broken.wav", "RIFF this is not a sound");
    start(std::string(level_script) + R"(
        lf:play_sfx("Data/Sounds/missing.wav")
        lf:play_sfx("Data/Sounds/broken.wav")
        lf:play_sfx("")
        lf:add_music("Data/Sounds/missing.wav")
        lf:add_music("Data/Sounds/broken.wav")
        lf:add_music("")
        lf:create_sound("nopath", "", 1000, 0, 0)
        lf:create_sound_effect("a", "nopath", 0.1, true)
        lf:gameobject_upload("a", 0, 1)
        lf:create_sound_variety_collection("empty", 1000, 0, 0)
        lf:create_sound_effect("b", "empty", 0.1, true)
        lf:gameobject_upload("b", 0, 2)
        lf:create_sound("broken", "Data/Sounds/broken.wav", 1000, 0, 0)
        lf:create_sound_effect("c", "broken", 0.1, true)
        lf:gameobject_upload("c", 0, 3)
        lf:remove_music("")
    )");
    ASSERT_TRUE(engine().ready());
    tick(30);
    EXPECT_EQ(playing(), 0);
    EXPECT_EQ(engine().track_names(), "");
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

TEST_F(SoundTest, APendingSoundOutlivesItsOwnerWithoutTouchingIt) {
    start(std::string(level_script));
    auto gone = std::make_unique<Sound>("Data/Sounds/hum.wav", 1000, 0, 0);
    Sound kept("Data/Sounds/beep.wav", 1000, 0, 0);
    gone->play();
    kept.play();
    gone->play();
    EXPECT_EQ(queue().pending(), 3u);
    gone.reset();
    tick();
    EXPECT_EQ(queue().pending(), 0u);
    EXPECT_EQ(playing(), 3);  // the sound was made while its owner lived
    Mix_HaltChannel(-1);

    // The same from a script: an effect offers its sound in the level's update, and a later
    // script run of the same frame removes it before the flush.
    ASSERT_EQ(lua(R"(
        lf:create_sound("s", "Data/Sounds/beep.wav", 1000, 0, 0)
        lf:create_sound_effect("e", "s", 0.01, true)
        lf:gameobject_upload("e", 0, 9)
    )"),
              "");
    Level& level = *Game::instance().level;
    level.find_by_id(9)->update(0.01f);
    EXPECT_EQ(queue().pending(), 1u);
    ASSERT_EQ(lua("lf:remove_gameobject(9)"), "");
    Game::instance().sound_queue->flush(engine());
    EXPECT_EQ(playing(), 1);
    EXPECT_EQ(level.find_by_id(9), nullptr);
}

TEST_F(SoundTest, WithoutAudioEverythingIsSilentAndNothingFails) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    start(std::string(level_script) + R"(
        lf:set_master_volume(0.5)
        lf:set_music_volume(0.5)
        lf:set_sfx_volume(0.5)
        lf:play_sfx("Data/Sounds/beep.wav")
        lf:add_music("Data/Sounds/hum.wav")
        lf:set_audio_pause(true)
        paused = lf:is_audio_paused()
        lf:remove_music("hum.wav")
        lf:reset_music()
        lf:create_sound("s", "Data/Sounds/beep.wav", 1000, 0, 0)
        lf:create_sound_variety_collection("c", 1000, 0, 0)
        lf:add_sound_to_variety_collection("c", "Data/Sounds/beep.wav")
        lf:create_sound_effect("e", "c", 0.1, true)
        lf:gameobject_upload("e", 0, 1)
        lf:create_music("m", "Data/Sounds/hum.wav")
        lf:remove_sound_from_sounds_temp("s")
        done = true
    )");
    EXPECT_EQ(lua_string("done"), "true");
    EXPECT_FALSE(engine().ready());
    EXPECT_EQ(lua_string("paused"), "false");
    TempLists::instance().music.find("m")->start();
    tick(20);
    EXPECT_EQ(engine().track_names(), "");
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}
