#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "Render/PngLoader.h"

namespace {

std::string png_path(const std::string& name) {
    return std::string(VELDEN_TEST_DATA) + "/png/" + name;
}

struct Rgba {
    uint8_t r, g, b, a;
};

// The bytes an image must hold, given its rows as they look (top row first).
std::vector<uint8_t> bottom_up(const std::vector<std::vector<Rgba>>& rows_top_down) {
    std::vector<uint8_t> bytes;
    for (auto row = rows_top_down.rbegin(); row != rows_top_down.rend(); ++row)
        for (const Rgba& p : *row)
            bytes.insert(bytes.end(), {p.r, p.g, p.b, p.a});
    return bytes;
}

Rgba grey(uint8_t v, uint8_t a = 255) {
    return {v, v, v, a};
}

// Pixel formulas of the generated images that are too big to list.
Rgba adam7_colour(int x, int y) {
    return {uint8_t(x * 50), uint8_t(y * 50), uint8_t(x * 10 + y), uint8_t(255 - x * y * 10)};
}
Rgba filters_colour(int x, int y) {
    return {uint8_t((x * 60 + y * 7) % 256), uint8_t((x * y * 13 + 200) % 256),
            uint8_t(((200 - x * 30 - y * 11) % 256 + 256) % 256), 255};
}

std::vector<std::vector<Rgba>> from_formula(int w, int h, Rgba (*colour)(int, int)) {
    std::vector<std::vector<Rgba>> rows(h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            rows[y].push_back(colour(x, y));
    return rows;
}

struct Decoded {
    const char* file;
    std::vector<std::vector<Rgba>> rows;  // top row first
};

void PrintTo(const Decoded& c, std::ostream* os) {
    *os << c.file;
}

class PngKinds : public ::testing::TestWithParam<Decoded> {};

TEST_P(PngKinds, DecodeToExactRgbaBottomRowFirst) {
    const Decoded& c = GetParam();
    std::unique_ptr<Image> image = PngLoader::load(png_path(c.file));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, int32_t(c.rows[0].size()));
    EXPECT_EQ(image->height, int32_t(c.rows.size()));
    EXPECT_EQ(image->pixels, bottom_up(c.rows));
}

INSTANTIATE_TEST_SUITE_P(
    AllColourTypes, PngKinds,
    ::testing::Values(
        Decoded{"rgba8.png",
                {{{255, 0, 0, 255}, {0, 255, 0, 128}, {0, 0, 255, 0}},
                 {{10, 20, 30, 40}, {255, 255, 255, 255}, {0, 0, 0, 255}}}},
        // 16-bit samples are rounded to the nearest 8-bit value (0x00FF gives 1, not 0).
        Decoded{"rgba16.png",
                {{{255, 0, 128, 255}, {1, 18, 254, 127}}, {{0, 255, 0, 1}, {171, 67, 1, 255}}}},
        Decoded{"rgb8.png",
                {{{255, 0, 0, 255}, {0, 255, 0, 255}}, {{0, 0, 255, 255}, {1, 2, 3, 255}}}},
        Decoded{"rgb16.png",
                {{{255, 0, 1, 255}, {18, 254, 128, 255}}, {{0, 0, 255, 255}, {171, 67, 1, 255}}}},
        Decoded{"grey1.png", {{grey(255), grey(0), grey(255)}, {grey(0), grey(255), grey(255)}}},
        Decoded{"grey2.png", {{grey(0), grey(85), grey(170)}, {grey(255), grey(170), grey(85)}}},
        Decoded{"grey4.png", {{grey(0), grey(85), grey(255)}, {grey(136), grey(17), grey(238)}}},
        Decoded{"grey8.png", {{grey(0), grey(77)}, {grey(200), grey(255)}}},
        Decoded{"grey16.png", {{grey(255), grey(1)}, {grey(128), grey(0)}}},
        Decoded{"grey_alpha8.png", {{grey(0, 255), grey(100, 50)}, {grey(200, 0), grey(255, 128)}}},
        Decoded{"grey_alpha16.png", {{grey(255, 1), grey(18, 254)}}},
        Decoded{"palette4.png",
                {{{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}},
                 {{17, 34, 51, 255}, {250, 128, 5, 255}, {255, 0, 0, 255}}}},
        // The transparency chunk covers the first two palette entries only.
        Decoded{"palette8_trns.png",
                {{{10, 20, 30, 0}, {40, 50, 60, 128}}, {{70, 80, 90, 255}, {10, 20, 30, 0}}}},
        Decoded{"grey8_trns.png", {{grey(0), grey(77, 0)}, {grey(200), grey(77, 0)}}},
        Decoded{"rgb8_trns.png",
                {{{0, 255, 0, 0}, {255, 0, 0, 255}}, {{0, 0, 255, 255}, {0, 255, 0, 0}}}},
        Decoded{"rgba8_adam7.png", from_formula(5, 5, adam7_colour)},
        Decoded{
            "grey1_adam7.png",
            from_formula(5, 5, [](int x, int y) { return grey((x * y + x) % 3 % 2 ? 255 : 0); })},
        Decoded{"rgb8_filters.png", from_formula(4, 5, filters_colour)}),
    [](const ::testing::TestParamInfo<Decoded>& info) {
        std::string name = info.param.file;
        name = name.substr(0, name.find('.'));
        for (char& ch : name)
            if (ch == '_')
                ch = 'X';
        return name;
    });

TEST(PngLoader, TopRowRedOverBlueGivesBlueBytesFirst) {
    std::unique_ptr<Image> image = PngLoader::load(png_path("red_over_blue.png"));
    ASSERT_TRUE(image);
    ASSERT_EQ(image->pixels.size(), 16u);
    EXPECT_EQ(std::vector<uint8_t>(image->pixels.begin(), image->pixels.begin() + 4),
              (std::vector<uint8_t>{0, 0, 255, 255}));
    EXPECT_EQ(std::vector<uint8_t>(image->pixels.begin() + 8, image->pixels.begin() + 12),
              (std::vector<uint8_t>{255, 0, 0, 255}));
}

TEST(PngLoader, AcceptsTheLargestSideAndRefusesOneMore) {
    std::unique_ptr<Image> wide = PngLoader::load(png_path("wide_8192.png"));
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->width, int32_t(PngLoader::max_side));
    EXPECT_EQ(wide->height, 1);
    ASSERT_EQ(wide->pixels.size(), size_t(8192) * 4);
    for (size_t x : {0u, 255u, 256u, 8191u}) {
        EXPECT_EQ(wide->pixels[x * 4], x % 256) << x;
        EXPECT_EQ(wide->pixels[x * 4 + 3], 255) << x;
    }
    EXPECT_FALSE(PngLoader::load(png_path("wide_8193.png")));
    EXPECT_FALSE(PngLoader::load(png_path("tall_8193.png")));
}

class DamagedPng : public ::testing::TestWithParam<const char*> {};

TEST_P(DamagedPng, GivesNoImage) {
    EXPECT_FALSE(PngLoader::load(png_path(GetParam())));
}

INSTANTIATE_TEST_SUITE_P(Failures, DamagedPng,
                         ::testing::Values("does_not_exist.png",
                                           "",  // the folder itself: opens, but cannot be read
                                           "empty.png", "not_a_png.png", "signature_only.png",
                                           "truncated.png", "no_iend.png", "bad_crc_ihdr.png",
                                           "bad_crc_idat.png", "idat_short.png", "idat_garbage.png",
                                           "huge.png", "bad_ihdr.png"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = *info.param ? info.param : "folder";
                             name = name.substr(0, name.find('.'));
                             for (char& ch : name)
                                 if (ch == '_')
                                     ch = 'X';
                             return name;
                         });

}  // namespace
