// Pictures of every kind of PNG file drawn as sprites, the way a game author loads them.
#include "Support/EngineTest.h"

namespace {

struct Case {
    const char* file;
    int width, height;         // of the picture
    int column, row;           // the texel shown, row 0 at the top as a drawing program shows it
    EngineTest::Pixel colour;  // expected on the screen (opaque texels over black)
};

}  // namespace

class PictureSpriteTest : public EngineTest {};

TEST_F(PictureSpriteTest, EachKindOfPngShowsItsColoursOnTheScreen) {
    const Case cases[] = {
        {"palette4.png", 3, 2, 1, 1, {250, 128, 5, 255}},
        {"palette4.png", 3, 2, 2, 0, {0, 0, 255, 255}},
        {"grey8.png", 2, 2, 1, 0, {77, 77, 77, 255}},
        {"grey16.png", 2, 2, 1, 0, {1, 1, 1, 255}},
        {"grey4.png", 3, 2, 1, 0, {85, 85, 85, 255}},
        {"rgb16.png", 2, 2, 0, 0, {255, 0, 1, 255}},
        {"rgb8_filters.png",
         4,
         5,
         3,
         4,
         {(3 * 60 + 4 * 7) % 256, (3 * 4 * 13 + 200) % 256, (200 - 3 * 30 - 4 * 11) % 256, 255}},
        {"rgba8_adam7.png", 5, 5, 2, 0, {100, 0, 20, 255}},
        {"rgba8_adam7.png", 5, 5, 0, 4, {0, 200, 4, 255}},
    };
    // One sprite per case, side by side, each showing a single texel of its picture.
    std::string script =
        "local lf = LuaFunctions()\n"
        "lf:create_level(0, 0, 0, 0)\n"
        "lf:create_layer(1, 1, 0)\n"
        "lf:layer_color(0, 1, 1, 1, 1)\n";
    int i = 0;
    for (const Case& c : cases) {
        const std::string tex = "t" + std::to_string(i);
        const float left = float(c.column) / c.width, right = float(c.column + 1) / c.width;
        const float top = 1.0f - float(c.row) / c.height;
        const float bottom = 1.0f - float(c.row + 1) / c.height;
        script += "lf:init_texture('" + tex + "', '" + std::string(VELDEN_TEST_DATA) + "/png/" +
                  c.file + "', 0, 0, 0, 0)\n" + "lf:load_resource(0, '" + tex + "')\n" +
                  "lf:create_sprite('" + tex + "', 0, '" + tex + "', " +
                  std::to_string(-560 + i * 80) + ", 0)\n" + "lf:sprite_shape('" + tex +
                  "', 0, 30, 30)\n" + "lf:textured_sprite_tex_coords('" + tex + "', 0, " +
                  std::to_string(left) + ", " + std::to_string(bottom) + ", " +
                  std::to_string(right) + ", " + std::to_string(top) + ")\n" +
                  "lf:gameobject_upload('" + tex + "', 0, " + std::to_string(i) + ")\n";
        ++i;
    }
    start(script);
    ASSERT_EQ(lua("assert(LuaFunctions():get_num_layers() == 1)"), "");
    tick();
    i = 0;
    for (const Case& c : cases) {
        EXPECT_EQ(pixel(640 - 560 + i * 80, 360), c.colour)
            << c.file << " " << c.column << "," << c.row;
        ++i;
    }
}

TEST_F(PictureSpriteTest, TransparentTexelsLetTheLayerBehindShowThrough) {
    // palette8_trns: index 0 is fully transparent, index 1 half, index 2 opaque.
    const std::string file = std::string(VELDEN_TEST_DATA) + "/png/palette8_trns.png";
    start(
        "local lf = LuaFunctions()\n"
        "lf:create_level(0, 0, 0, 0)\n"
        "lf:create_layer(1, 1, 0)\n"
        "lf:create_layer(1, 1, 0)\n"
        "lf:init_texture('p', '" +
        file +
        "', 0, 0, 0, 0)\n"
        "lf:load_resource(0, 'p')\n"
        "lf:create_sprite('white', 0, 'none', 0, 0)\n"
        "lf:sprite_shape('white', 0, 200, 100)\n"
        "lf:gameobject_upload('white', 0, 1)\n"
        // top-left texel: index 0, transparent
        "lf:create_sprite('a', 0, 'p', -100, 0)\n"
        "lf:sprite_shape('a', 0, 30, 30)\n"
        "lf:textured_sprite_tex_coords('a', 0, 0, 0.5, 0.5, 1)\n"
        "lf:gameobject_upload('a', 1, 2)\n"
        // bottom-left texel: index 2, opaque (70, 80, 90)
        "lf:create_sprite('b', 0, 'p', 100, 0)\n"
        "lf:sprite_shape('b', 0, 30, 30)\n"
        "lf:textured_sprite_tex_coords('b', 0, 0, 0, 0.5, 0.5)\n"
        "lf:gameobject_upload('b', 1, 3)\n");
    tick();
    EXPECT_EQ(pixel(540, 360), (Pixel{255, 255, 255, 255}));
    EXPECT_EQ(pixel(740, 360), (Pixel{70, 80, 90, 255}));
}
