// What the game sounds like: the mixer writes its output to a file (SDL's disk audio driver),
// and the tests read back the loudness of each side while music and sounds play.
#include <SDL.h>
#include <SDL_mixer.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "Audio/SoundQueue.h"
#include "Audio/ToneFile.h"
#include "Platform/VirtualKeys.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

namespace fs = std::filesystem;

namespace {

// Root-mean-square level of each side, 0..1 of full scale.
struct Loudness {
    double left = 0, right = 0;
    double both() const { return (left + right) / 2; }
};

std::ostream& operator<<(std::ostream& os, const Loudness& l) {
    return os << "(left " << l.left << ", right " << l.right << ")";
}

// A sine at amplitude 0.5 has a level of 0.5 / sqrt(2).
constexpr double tone_level = 0.35355;

}  // namespace

class MixedOutputTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        output_ = dir + "/mixed.raw";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", output_.c_str(), 1);
        fs::create_directories(dir + "/Data/Sounds");
        // Whole numbers of cycles, so the loops join without a click.
        write_tone(dir + "/Data/Sounds/low.wav", 220, 0.25, 0.5);
        write_tone(dir + "/Data/Sounds/high.wav", 660, 0.25, 0.5);
        write_tone(dir + "/Data/Sounds/long.wav", 440, 0.6, 0.5);
    }

    void TearDown() override {
        EngineTest::TearDown();
        // Later tests of the same process get the dummy output again.
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }

    void start_audio(const std::string& script) {
        start(script);
        int frequency = 0, channels = 0;
        Uint16 format = 0;
        ASSERT_EQ(Mix_QuerySpec(&frequency, &format, &channels), 1) << "no audio output";
        frequency_ = frequency;
        ASSERT_EQ(format, AUDIO_S16SYS);
        ASSERT_EQ(channels, 2);
    }

    // The level of what the mixer puts out during ms milliseconds of output, from 100 ms after
    // now: what was asked for before has reached the output by then. Counted in samples
    // written, not in time passed, so a mixer running late on a busy machine measures the same.
    Loudness listen(int ms = 200) {
        const uintmax_t from = wait_for(100, mark_);
        mark_.reset();
        const uintmax_t to = wait_for(ms);
        std::vector<int16_t> samples((to - from) / 2);
        std::ifstream in(output_, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(from));
        in.read(reinterpret_cast<char*>(samples.data()), static_cast<std::streamsize>(to - from));
        Loudness l;
        const size_t frames = samples.size() / 2;
        if (frames == 0 || !in) {
            ADD_FAILURE() << "the mixer wrote nothing";
            return l;
        }
        for (size_t i = 0; i < frames; ++i) {
            l.left += std::pow(samples[2 * i] / 32768.0, 2);
            l.right += std::pow(samples[2 * i + 1] / 32768.0, 2);
        }
        l.left = std::sqrt(l.left / frames);
        l.right = std::sqrt(l.right / frames);
        return l;
    }

    // Waits until the mixer has put out ms milliseconds more than at since (or now); the
    // output's size then.
    uintmax_t wait_for(int ms, std::optional<uintmax_t> since = std::nullopt) {
        const uintmax_t start = since ? *since : fs::file_size(output_) / 4 * 4;
        const uintmax_t target = start + static_cast<uintmax_t>(ms) * frequency_ / 1000 * 4;
        for (int waited = 0; waited < 10000; waited += 5) {
            if (fs::file_size(output_) >= target)
                return target;
            SDL_Delay(5);
        }
        ADD_FAILURE() << "the mixer stopped writing";
        return start;
    }

    // Runs a script, then a frame, so that positional sounds offered during it are started.
    // The next listen counts from before the script: a busy machine may take long to draw the
    // frame after its sounds started.
    void run(const std::string& code) {
        mark_ = fs::file_size(output_) / 4 * 4;
        ASSERT_EQ(lua(code), "");
        tick();
    }

  private:
    std::string output_;
    int frequency_ = 44100;
    std::optional<uintmax_t> mark_;
};

#define EXPECT_LEVEL(measured, expected) \
    EXPECT_NEAR((measured), (expected), 0.12 * (expected) + 0.01)

TEST_F(MixedOutputTest, MusicIsHeardLoopsAndStopsByNameOrAllAtOnce) {
    start_audio(R"(
        lf = LuaFunctions()
        lf:add_music("Data/Sounds/low.wav")
        lf:add_music("Data/Sounds/high.wav")
    )");
    // Two tones of different pitch add up in power. They are a quarter second long: whatever
    // is heard after the first has passed is the loop.
    wait_for(300);
    Loudness two = listen();
    EXPECT_LEVEL(two.left, tone_level * std::sqrt(2.0)) << two;
    EXPECT_LEVEL(two.right, tone_level * std::sqrt(2.0)) << two;

    run("lf:remove_music('Data/Sounds/high.wav')");  // a path is not a sound name
    EXPECT_LEVEL(listen().both(), tone_level * std::sqrt(2.0));
    run("lf:remove_music('high.wav')");
    Loudness one = listen();
    EXPECT_LEVEL(one.both(), tone_level) << one;
    run("lf:add_music('Data/Sounds/high.wav') lf:reset_music()");
    EXPECT_LT(listen().both(), 0.001);
}

TEST_F(MixedOutputTest, APausedTrackIsSilentWhileEffectsStillPlay) {
    start_audio(R"(
        lf = LuaFunctions()
        lf:add_music("Data/Sounds/low.wav")
        lf:set_audio_pause(true)
    )");
    EXPECT_LT(listen().both(), 0.001);
    run("lf:play_sfx('Data/Sounds/long.wav')");
    EXPECT_LEVEL(listen().both(), tone_level);
    wait_for(400);  // the effect is over
    EXPECT_LT(listen().both(), 0.001);
    run("lf:set_audio_pause(false)");
    EXPECT_LEVEL(listen().both(), tone_level);
}

TEST_F(MixedOutputTest, VolumesScaleWhatIsHeard) {
    start_audio(R"(
        lf = LuaFunctions()
        lf:add_music("Data/Sounds/low.wav")
    )");
    struct Step {
        const char* call;
        double level;  // of the music, in tone levels
    };
    for (Step s : {Step{"lf:set_music_volume(0.5)", 0.5}, Step{"lf:set_music_volume(1)", 0.5},
                   Step{"lf:set_master_volume(0.5)", 0.25}, Step{"lf:set_sfx_volume(0.1)", 0.25},
                   Step{"lf:set_master_volume(1)", 0.5}, Step{"lf:set_master_volume(0)", 0}}) {
        run(s.call);
        EXPECT_LEVEL(listen(150).both(), s.level * tone_level) << s.call;
    }
    // Effects follow the effects volume.
    run("lf:set_master_volume(1) lf:reset_music() lf:play_sfx('Data/Sounds/long.wav')");
    EXPECT_LEVEL(listen(150).both(), 0.1 * tone_level);
}

TEST_F(MixedOutputTest, APositionalSoundIsLouderNearTheListenerAndOnItsSide) {
    start_audio(R"(
        lf = LuaFunctions()
        lf:create_level(0, 0, 0, 0)
        lf:create_layer(1, 1, 0)
        function sound_at(x, y)
            lf:create_sound("s", "Data/Sounds/long.wav", 5000, x, y)
            lf:create_sound_effect("e", "s", 0.001, false)
            lf:gameobject_upload("e", 0, 1)
        end
    )");
    auto heard = [&](float x, float y) {
        run("sound_at(" + std::to_string(x) + ", " + std::to_string(y) + ")");
        Loudness l = listen(150);
        wait_for(400);  // until it is over
        return l;
    };
    const Loudness near = heard(0, 40);
    const Loudness far = heard(0, 1000);
    EXPECT_GT(near.both(), 0.8 * tone_level) << near;
    EXPECT_GT(far.both(), 0.05) << far;
    EXPECT_GT(near.both(), 1.8 * far.both()) << near << far;
    EXPECT_LEVEL(near.left, near.right);

    const Loudness left = heard(-640, 0);
    EXPECT_GT(left.left, 0.1) << left;
    EXPECT_LT(left.right, 0.005) << left;
    const Loudness right = heard(320, 0);
    // A quarter of a view to the right: the far side at half the near one.
    EXPECT_GT(right.right, 0.7 * tone_level) << right;
    EXPECT_LEVEL(right.left, 0.5 * right.right) << right;

    // The listener moves: the same place is now straight ahead and near.
    Game::instance().sound_queue->set_listener(-640, 10);
    const Loudness ahead = heard(-640, 0);
    EXPECT_LEVEL(ahead.left, ahead.right);
    EXPECT_GT(ahead.both(), 0.9 * tone_level) << ahead;
}

TEST_F(MixedOutputTest, MenuButtonsSoundWhenTheFocusArrivesAndWhenPressed) {
    start_audio(R"(
        lf = LuaFunctions()
        lf:add_vk_pair(40, 'down')
        lf:add_vk_pair(13, 'enter')
        lf:add_input_listener(1, 'down')
        lf:add_input_listener(4, 'enter')
        lf:upload_controller(0)
        lf:create_level(0, 0, 0, 0)
        lf:create_layer(1, 1, 0)
        for _, name in ipairs({ 'quiet', 'loud' }) do
            lf:create_sprite(name .. '_n', 0, '', 0, 0)
            lf:create_sprite(name .. '_f', 0, '', 0, 0)
        end
        lf:create_button('quiet', 'quiet_n', 'quiet_f', '', '', '')
        lf:create_button('loud', 'loud_n', 'loud_f', 'Data/Sounds/long.wav',
                         'Data/Sounds/high.wav', '')
        lf:button_dependencies('quiet', '', 'loud', '', '')
        lf:set_focused_button('quiet')
        lf:gameobject_upload('quiet', 0, 1)
        lf:gameobject_upload('loud', 0, 2)
        lf:set_game_state(1)
    )");
    run("");
    EXPECT_LT(listen().both(), 0.01) << "a button without sounds is silent";

    keyboard.press(vk::down);  // the focus arrives at the loud button
    run("");
    EXPECT_GT(listen(100).both(), 0.5 * tone_level);
    keyboard.release(vk::down);
    tick();
    SDL_Delay(300);  // the focus sound is over
    run("");
    EXPECT_LT(listen().both(), 0.01);

    keyboard.press(vk::enter);
    run("");
    EXPECT_GT(listen(300).both(), 0.5 * tone_level) << "the press sound";
}
