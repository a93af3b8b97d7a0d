// Tiled's own example maps, as Debian's tiled package ships them, drawn by the engine and
// compared with the pictures Tiled's tmxrasterizer makes of the same maps.
#include <zlib.h>
#include <pugixml.hpp>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "Render/FrameCapture.h"
#include "Render/PngLoader.h"
#include "Render/PngWriter.h"
#include "Scene/Level.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

namespace fs = std::filesystem;

namespace {

const fs::path examples = "/usr/share/doc/tiled/examples";

// Debian compresses the larger example files; Tiled and the engine read them unpacked.
void unpack(const fs::path& packed) {
    gzFile in = gzopen(packed.c_str(), "rb");
    ASSERT_NE(in, nullptr) << packed;
    fs::path out_path = packed;
    out_path.replace_extension();
    std::ofstream out(out_path, std::ios::binary);
    char buffer[65536];
    int n;
    while ((n = gzread(in, buffer, sizeof buffer)) > 0)
        out.write(buffer, n);
    gzclose(in);
    fs::remove(packed);
}

// A copy of the map beside it without the objects the engine does not draw: shapes, points and
// texts (colliders, triggers, spawn points in a level) and objects made from templates, which
// this version of tmxrasterizer draws as placeholders. Returns the copy's name.
std::string without_undrawn_objects(const fs::path& folder, const std::string& map) {
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_file((folder / map).c_str())) << map;
    for (pugi::xpath_node group : doc.select_nodes("//objectgroup")) {
        std::vector<pugi::xml_node> gone;
        for (pugi::xml_node object : group.node().children("object"))
            if (!object.attribute("gid") || object.attribute("template"))
                gone.push_back(object);
        for (pugi::xml_node object : gone)
            group.node().remove_child(object);
    }
    const std::string copy = fs::path(map).replace_extension(".drawn.tmx").string();
    EXPECT_TRUE(doc.save_file((folder / copy).c_str()));
    return copy;
}

struct Comparison {
    int64_t compared = 0;
    int64_t differing = 0;
    int worst = 0;
};

}  // namespace

// An example map and the share of its pixels that may differ from Tiled's picture. Tiles and
// objects at whole-pixel places with their own size are drawn texel for texel by both (nearest
// filtering, --no-smoothing): nothing may differ. Objects at fractional places, scaled or turned
// (sticker knight, the mushrooms of orthogonal-outside) meet pixel centres differently in Qt's
// transform and in OpenGL, so their edges pick the neighbouring texel: up to 0.25 % of the view.
struct Example {
    const char* map;
    double differing;
};

std::ostream& operator<<(std::ostream& os, const Example& e) {
    return os << e.map;
}

class TiledExamplesTest : public EngineTest, public testing::WithParamInterface<Example> {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        if (!fs::exists(examples) || std::system("command -v tmxrasterizer > /dev/null") != 0)
            GTEST_SKIP() << "Tiled's examples and tmxrasterizer come with Debian's tiled package";
        fs::copy(examples, dir + "/examples", fs::copy_options::recursive);
        for (const auto& entry : fs::recursive_directory_iterator(dir + "/examples"))
            if (entry.path().extension() == ".gz")
                unpack(entry.path());
    }

    // Tiled's picture of the map, bottom row first; null when tmxrasterizer fails.
    std::unique_ptr<Image> rasterize(const std::string& map) {
        const std::string out = dir + "/tiled.png";
        const std::string command = "QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=" + dir +
                                    " tmxrasterizer --no-smoothing '" + dir + "/examples/" + map +
                                    "' '" + out + "' > /dev/null 2>&1";
        if (std::system(command.c_str()) != 0)
            return nullptr;
        return PngLoader::load(out);
    }

    // The frame against Tiled's picture, the view's centre at Tiled's (x, y): Tiled's picture
    // over the map's background colour, as Tiled's editor shows it (tmxrasterizer leaves it
    // clear), or over black, as the engine's frame starts black.
    Comparison compare(const Image& tiled, int x, int y, int tolerance, const std::string& name) {
        const Image frame = FrameCapture::read(1280, 720);
        const Color bg = Game::instance().level->marks.background.value_or(Color{0, 0, 0, 1});
        const int back[3] = {int(std::lround(bg.r * 255)), int(std::lround(bg.g * 255)),
                             int(std::lround(bg.b * 255))};
        Image diff = frame;
        Comparison c;
        for (int wy = 0; wy < 720; ++wy)
            for (int wx = 0; wx < 1280; ++wx) {
                const int tx = x - 640 + wx, ty = y + 359 - wy;
                if (tx < 0 || ty < 0 || tx >= tiled.width || ty >= tiled.height)
                    continue;
                const uint8_t* t =
                    &tiled.pixels[size_t((tiled.height - 1 - ty) * tiled.width + tx) * 4];
                const uint8_t* e = &frame.pixels[size_t(wy * 1280 + wx) * 4];
                int worst = 0;
                for (int k = 0; k < 3; ++k)
                    worst = std::max(
                        worst,
                        std::abs((int(t[k]) * t[3] + back[k] * (255 - t[3])) / 255 - int(e[k])));
                ++c.compared;
                c.worst = std::max(c.worst, worst);
                uint8_t* d = &diff.pixels[size_t(wy * 1280 + wx) * 4];
                d[0] = d[1] = d[2] = worst > tolerance ? 255 : 0;
                if (worst > tolerance)
                    ++c.differing;
            }
        // Kept in the test's folder for a look when the comparison fails.
        PngWriter::write(dir + "/" + name + "-engine.png", frame);
        PngWriter::write(dir + "/" + name + "-diff.png", diff);
        if (const char* keep = std::getenv("VELDEN_KEEP_COMPARISONS")) {
            PngWriter::write(std::string(keep) + "/" + name + "-engine.png", frame);
            PngWriter::write(std::string(keep) + "/" + name + "-diff.png", diff);
        }
        return c;
    }
};

TEST_P(TiledExamplesTest, TheEngineDrawsTheMapAsTmxrasterizerDoes) {
    const std::string map = without_undrawn_objects(dir + "/examples", GetParam().map);
    std::unique_ptr<Image> tiled = rasterize(map);
    ASSERT_NE(tiled, nullptr) << "tmxrasterizer made no picture of " << map;
    start("lf = LuaFunctions()\nlf:create_level(0, 0, 0, 0)\n");
    // The example as Tiled saved it, with its shapes, points and templates, loads too.
    ASSERT_EQ(lua("whole = lf:map_load('examples/" + std::string(GetParam().map) +
                  "', 0, 0)\n"
                  "lf:create_level(0, 0, 0, 0)"),
              "");
    ASSERT_EQ(lua_string("whole"), "true");
    ASSERT_EQ(lua("ok = lf:map_load('examples/" + map + "', 0, 0)"), "");
    ASSERT_EQ(lua_string("ok"), "true");
    // Views at the top-left corner and in the middle of the map.
    const int views[2][2] = {{640, 360}, {tiled->width / 2, tiled->height / 2}};
    for (const auto& v : views) {
        ASSERT_EQ(lua("lf:camera_set_position(" + std::to_string(v[0]) + ", " +
                      std::to_string(-v[1]) + ")"),
                  "");
        tick();
        const std::string name = fs::path(map).stem().string() + "-" + std::to_string(v[0]);
        const Comparison c = compare(*tiled, v[0], v[1], 8, name);
        ASSERT_GT(c.compared, 0);
        std::printf("%s at (%d, %d): %lld of %lld pixels differ, at most by %d\n", map.c_str(),
                    v[0], v[1], (long long)c.differing, (long long)c.compared, c.worst);
        EXPECT_LE(double(c.differing), GetParam().differing * double(c.compared)) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Orthogonal, TiledExamplesTest,
                         testing::Values(Example{"desert.tmx", 0}, Example{"sewers.tmx", 0},
                                         Example{"perspective_walls.tmx", 0},
                                         Example{"rpg/island.tmx", 0},
                                         Example{"orthogonal-outside.tmx", 0.0025},
                                         Example{"sticker-knight/map/sandbox.tmx", 0.0025},
                                         Example{"sticker-knight/map/sandbox2.tmx", 0.0025}));
