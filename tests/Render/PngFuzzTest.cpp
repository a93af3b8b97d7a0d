// Corrupted PNG files fed to the loader under the sanitizers: none may crash or read out of
// bounds, and whatever decodes must be a consistent image.
#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "Render/PngLoader.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes read_png(const std::string& name) {
    std::ifstream in(std::string(VELDEN_TEST_DATA) + "/png/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class PngFuzz : public ::testing::Test {
  protected:
    void TearDown() override { std::filesystem::remove(path_); }

    // Decodes the bytes as a file.
    std::unique_ptr<Image> load(const Bytes& bytes) {
        std::ofstream(path_, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return PngLoader::load(path_);
    }

    // Loads the bytes and checks that a decoded image is whole. Returns whether it decoded.
    bool load_consistent(const Bytes& bytes) {
        std::unique_ptr<Image> image = load(bytes);
        if (!image)
            return false;
        EXPECT_GT(image->width, 0);
        EXPECT_GT(image->height, 0);
        EXPECT_LE(image->width, int32_t(PngLoader::max_side));
        EXPECT_LE(image->height, int32_t(PngLoader::max_side));
        EXPECT_EQ(image->pixels.size(), size_t(image->width) * size_t(image->height) * 4);
        return true;
    }

    std::string path_ = (std::filesystem::temp_directory_path() /
                         ("velden-png-fuzz-" + std::to_string(getpid()) + ".png"))
                            .string();
};

const char* const seeds[] = {"rgba8.png",        "rgba8_adam7.png",   "grey1_adam7.png",
                             "rgb8_filters.png", "palette8_trns.png", "grey16.png"};

TEST_F(PngFuzz, EveryTruncationOfAValidFileFails) {
    for (const char* name : seeds) {
        Bytes file = read_png(name);
        ASSERT_FALSE(file.empty()) << name;
        ASSERT_TRUE(load(file)) << name;
        for (size_t length = 0; length < file.size(); ++length)
            EXPECT_FALSE(load(Bytes(file.begin(), file.begin() + length)))
                << name << " cut to " << length << " bytes";
    }
}

TEST_F(PngFuzz, SingleBitFlipsNeverCrash) {
    for (const char* name : {"rgba8.png", "grey1_adam7.png"}) {
        Bytes file = read_png(name);
        for (size_t bit = 0; bit < file.size() * 8; ++bit) {
            Bytes variant = file;
            variant[bit / 8] ^= uint8_t(1u << (bit % 8));
            load_consistent(variant);
        }
    }
}

struct Chunk {
    size_t start;  // offset of the length field
    size_t length;
};

std::vector<Chunk> chunks_of(const Bytes& file) {
    std::vector<Chunk> chunks;
    for (size_t at = 8; at + 12 <= file.size();) {
        size_t length =
            (size_t(file[at]) << 24) | (file[at + 1] << 16) | (file[at + 2] << 8) | file[at + 3];
        chunks.push_back({at, length});
        at += 12 + length;
    }
    return chunks;
}

// Writes a valid CRC for the chunk, so that libpng goes on to parse its damaged contents.
void repair_crc(Bytes& file, const Chunk& c) {
    uint32_t crc = uint32_t(crc32(0, file.data() + c.start + 4, uInt(c.length + 4)));
    for (int i = 0; i < 4; ++i)
        file[c.start + 8 + c.length + i] = uint8_t(crc >> (24 - 8 * i));
}

TEST_F(PngFuzz, DamagedChunksWithValidCrcsNeverCrash) {
    std::mt19937 random(20261209);
    int decoded = 0;
    int failed = 0;
    for (int round = 0; round < 3000; ++round) {
        Bytes file = read_png(seeds[round % std::size(seeds)]);
        std::vector<Chunk> chunks = chunks_of(file);
        const Chunk& c = chunks[random() % (chunks.size() - 1)];  // not IEND: it has no data
        int changes = 1 + int(random() % 4);
        for (int i = 0; i < changes; ++i)
            file[c.start + 8 + random() % c.length] = uint8_t(random());
        repair_crc(file, c);
        (load_consistent(file) ? decoded : failed) += 1;
    }
    // The damage must reach both outcomes, or it is not testing the decoder.
    EXPECT_GT(decoded, 0);
    EXPECT_GT(failed, 0);
}

TEST_F(PngFuzz, RandomBytesAfterTheSignatureFail) {
    std::mt19937 random(4711);
    const Bytes signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    for (int round = 0; round < 1000; ++round) {
        Bytes file = signature;
        size_t length = random() % 300;
        for (size_t i = 0; i < length; ++i)
            file.push_back(uint8_t(random()));
        EXPECT_FALSE(load(file)) << "round " << round;
    }
}

}  // namespace
