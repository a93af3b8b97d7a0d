#include <gtest/gtest.h>

#include <filesystem>

#include "Render/PngLoader.h"
#include "Render/PngWriter.h"

namespace fs = std::filesystem;

// Written files load back with the same pixels, the bottom row still first.
TEST(PngWriter, RoundTripsThroughTheLoader) {
    Image image;
    image.width = 3;
    image.height = 2;
    for (int i = 0; i < 6; ++i)
        for (int c = 0; c < 4; ++c)
            image.pixels.push_back(static_cast<uint8_t>(i * 40 + c * 7));
    const fs::path path = fs::temp_directory_path() / "velden-pngwriter-test.png";
    ASSERT_TRUE(PngWriter::write(path.string(), image));
    std::unique_ptr<Image> back = PngLoader::load(path.string());
    fs::remove(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->width, 3);
    EXPECT_EQ(back->height, 2);
    EXPECT_EQ(back->pixels, image.pixels);
}

TEST(PngWriter, RefusesBadImagesAndPaths) {
    Image empty;
    EXPECT_FALSE(
        PngWriter::write((fs::temp_directory_path() / "velden-empty.png").string(), empty));
    Image short_pixels;
    short_pixels.width = 4;
    short_pixels.height = 4;
    short_pixels.pixels.resize(10);
    EXPECT_FALSE(
        PngWriter::write((fs::temp_directory_path() / "velden-short.png").string(), short_pixels));
    Image ok;
    ok.width = ok.height = 1;
    ok.pixels = {1, 2, 3, 4};
    EXPECT_FALSE(PngWriter::write("/nonexistent-dir/x.png", ok));
}
