// The flush of the per-frame sound queue with 100 pending positional sounds, through the real
// mixer (SDL's dummy audio output unless SDL_AUDIODRIVER says otherwise).
#include <benchmark/benchmark.h>

#include <SDL_mixer.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "Audio/MusicEngine.h"
#include "Audio/Sound.h"
#include "Audio/SoundQueue.h"

namespace {

// A short mono 16-bit tone as a WAV file.
void write_tone(const std::string& path, double frequency) {
    const int32_t rate = 22050, frames = rate / 2;
    auto put = [](std::ofstream& out, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.put(static_cast<char>((v >> (8 * i)) & 0xff));
    };
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    put(out, 36 + frames * 2, 4);
    out.write("WAVEfmt ", 8);
    put(out, 16, 4);
    put(out, 1, 2);
    put(out, 1, 2);
    put(out, rate, 4);
    put(out, rate * 2, 4);
    put(out, 2, 2);
    put(out, 16, 2);
    out.write("data", 4);
    put(out, frames * 2, 4);
    for (int32_t i = 0; i < frames; ++i)
        put(out,
            static_cast<uint16_t>(static_cast<int16_t>(
                std::lround(12000 * std::sin(2 * M_PI * frequency * i / rate)))),
            2);
}

struct Setup {
    std::string dir;
    std::unique_ptr<MusicEngine> engine;
    std::vector<std::unique_ptr<Sound>> sounds;

    Setup() {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        char templ[] = "/tmp/velden-bench-XXXXXX";
        dir = mkdtemp(templ);
        engine = std::make_unique<MusicEngine>();
        engine->init();
        // 100 sounds of four kinds spread over and around the view, as creatures, traps and
        // effects of a busy level would offer them.
        for (int i = 0; i < 100; ++i) {
            const std::string path = dir + "/s" + std::to_string(i % 4) + ".wav";
            if (i < 4)
                write_tone(path, 220.0 * (i + 1));
            sounds.push_back(std::make_unique<Sound>(path, 3000.0f, (i * 97) % 1800 - 900.0f,
                                                     (i * 61) % 900 - 450.0f));
        }
    }
    ~Setup() {
        engine.reset();
        std::filesystem::remove_all(dir);
    }
};

// Offers the 100 sounds and flushes them, frame after frame. With free channels, every channel
// is halted first (untimed), so 32 sounds start and the rest find no channel; else the 32
// channels stay busy with what earlier frames started, as in a long burst of noise.
void flush_100(benchmark::State& state, bool free_channels) {
    Setup s;
    if (!s.engine->ready()) {
        state.SkipWithError("no audio");
        return;
    }
    SoundQueue queue;
    for (auto _ : state) {
        if (free_channels) {
            state.PauseTiming();
            Mix_HaltChannel(-1);
        }
        for (const auto& sound : s.sounds)
            queue.offer(*sound);
        if (free_channels)
            state.ResumeTiming();
        queue.flush(*s.engine);
    }
}

void BM_SoundQueueFlush100(benchmark::State& state) {
    flush_100(state, false);
}
BENCHMARK(BM_SoundQueueFlush100)->Unit(benchmark::kMicrosecond);

void BM_SoundQueueFlush100FreeChannels(benchmark::State& state) {
    flush_100(state, true);
}
BENCHMARK(BM_SoundQueueFlush100FreeChannels)->Unit(benchmark::kMicrosecond);

}  // namespace
