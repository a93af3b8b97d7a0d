#pragma once

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// Writes a mono 16-bit WAV file of a sine tone: amplitude 0..1 of full scale.
inline void write_tone(const std::string& path, double frequency, double seconds, double amplitude,
                       int32_t rate = 22050) {
    const int32_t frames = static_cast<int32_t>(seconds * rate);
    std::vector<int16_t> samples(frames);
    for (int32_t i = 0; i < frames; ++i)
        samples[i] = static_cast<int16_t>(
            std::lround(amplitude * 32767.0 * std::sin(2.0 * M_PI * frequency * i / rate)));
    auto u32 = [](std::ofstream& out, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.put(static_cast<char>((v >> (8 * i)) & 0xff));
    };
    auto u16 = [](std::ofstream& out, uint16_t v) {
        out.put(static_cast<char>(v & 0xff));
        out.put(static_cast<char>(v >> 8));
    };
    std::ofstream out(path, std::ios::binary);
    const uint32_t data_bytes = static_cast<uint32_t>(frames) * 2;
    out.write("RIFF", 4);
    u32(out, 36 + data_bytes);
    out.write("WAVEfmt ", 8);
    u32(out, 16);
    u16(out, 1);  // PCM
    u16(out, 1);  // mono
    u32(out, static_cast<uint32_t>(rate));
    u32(out, static_cast<uint32_t>(rate) * 2);
    u16(out, 2);
    u16(out, 16);
    out.write("data", 4);
    u32(out, data_bytes);
    for (int16_t s : samples)
        u16(out, static_cast<uint16_t>(s));
}

// Data/Sounds/beep.wav (440 Hz) and hum.wav (220 Hz) in a game folder: ten seconds each, long
// enough to be still playing when they are looked at, also on a busy machine.
inline void write_test_tones(const std::string& game_dir) {
    std::filesystem::create_directories(game_dir + "/Data/Sounds");
    write_tone(game_dir + "/Data/Sounds/beep.wav", 440, 10.0, 0.5, 8000);
    write_tone(game_dir + "/Data/Sounds/hum.wav", 220, 10.0, 0.5, 8000);
}
