// Tiled maps loaded into levels by scripts, as an author loads them.
#include <zlib.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <vector>

#include "Creatures/Player.h"
#include "Map/TileLayer.h"
#include "Mechanisms/GateTrigger.h"
#include "Mechanisms/TriggerManager.h"
#include "Physics/PolygonShape.h"
#include "Platform/VirtualKeys.h"
#include "Render/Registries.h"
#include "Scene/Level.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

namespace {

const std::string data_dir = std::string(VELDEN_TEST_DATA) + "/tiled";

const EngineTest::Pixel red{255, 0, 0, 255}, green{0, 255, 0, 255}, blue{0, 0, 255, 255},
    white{255, 255, 255, 255}, magenta{255, 0, 255, 255}, cyan{0, 255, 255, 255},
    grey{128, 128, 128, 255}, black{0, 0, 0, 255}, orange{255, 128, 0, 255},
    purple{128, 0, 128, 255};

std::string base64(const std::vector<uint8_t>& bytes) {
    static const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        uint32_t v = uint32_t(bytes[i]) << 16;
        if (i + 1 < bytes.size())
            v |= uint32_t(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size())
            v |= bytes[i + 2];
        out += digits[(v >> 18) & 63];
        out += digits[(v >> 12) & 63];
        out += i + 1 < bytes.size() ? digits[(v >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? digits[v & 63] : '=';
    }
    return out;
}

std::vector<uint8_t> little_endian(const std::vector<uint32_t>& cells) {
    std::vector<uint8_t> bytes;
    for (uint32_t c : cells)
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<uint8_t>(c >> (8 * i)));
    return bytes;
}

// windowBits 15 makes a zlib stream, 31 a gzip one.
std::vector<uint8_t> deflate_bytes(const std::vector<uint8_t>& bytes, int window_bits) {
    z_stream s{};
    EXPECT_EQ(deflateInit2(&s, 9, Z_DEFLATED, window_bits, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::vector<uint8_t> out(deflateBound(&s, bytes.size()) + 32);
    s.next_in = const_cast<Bytef*>(bytes.data());
    s.avail_in = static_cast<uInt>(bytes.size());
    s.next_out = out.data();
    s.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&s, Z_FINISH), Z_STREAM_END);
    out.resize(s.total_out);
    deflateEnd(&s);
    return out;
}

std::string csv(const std::vector<uint32_t>& cells) {
    std::string out;
    for (size_t i = 0; i < cells.size(); ++i)
        out += (i ? "," : "") + std::to_string(cells[i]);
    return out;
}

// A map of the atlas tileset with one tile layer whose <data> element is given.
std::string one_layer_map(int width, int height, const std::string& data,
                          const std::string& extra = "") {
    return "<?xml version=\"1.0\"?>\n<map orientation=\"orthogonal\" width=\"" +
           std::to_string(width) + "\" height=\"" + std::to_string(height) +
           "\" tilewidth=\"16\" tileheight=\"16\">\n <tileset firstgid=\"1\" source=\"" + data_dir +
           "/tiles.tsx\"/>\n <layer id=\"1\" name=\"tiles\" width=\"" + std::to_string(width) +
           "\" height=\"" + std::to_string(height) + "\">\n  " + data + "\n </layer>\n" + extra +
           "</map>\n";
}

// The same map as JSON: data is the tile layer's fields after its size.
std::string one_layer_json(int width, int height, const std::string& data) {
    return "{\"type\": \"map\", \"orientation\": \"orthogonal\", \"width\": " +
           std::to_string(width) + ", \"height\": " + std::to_string(height) +
           ", \"tilewidth\": 16, \"tileheight\": 16, \"tilesets\": [{\"firstgid\": 1, "
           "\"source\": \"" +
           data_dir +
           "/tiles.tsj\"}], \"layers\": [{\"type\": "
           "\"tilelayer\", \"name\": \"tiles\", \"width\": " +
           std::to_string(width) + ", \"height\": " + std::to_string(height) + ", " + data + "}]}";
}

}  // namespace

class MapScriptTest : public EngineTest {
  protected:
    void begin(const std::string& script = "") {
        write_file("Data/Scripts/enter.lua", "log = log .. 'E' .. parameter .. ' '");
        start("lf = LuaFunctions()\nlog = ''\nlf:create_level(0, 0, 0, 0)\n" + script);
    }
    Level& level() { return *Game::instance().level; }
    TileLayer* tile_layer(int32_t index) {
        Layer* layer = level().layer_at(index);
        return layer && layer->size() > 0 ? dynamic_cast<TileLayer*>(layer->object_at(0)) : nullptr;
    }
    // The pixel of a point of the fixture map loaded at (-64, 32): Tiled's (x, y) lands at
    // window pixel (576 + x, 392 - y) while the camera is at the origin.
    Pixel map_pixel(int x, int y) { return pixel(576 + x, 392 - y); }
    // The middle of one quarter of a tile cell.
    Pixel quarter(int column, int row, int qx, int qy) {
        return map_pixel(16 * column + 4 + 8 * qx, 16 * row + 4 + 8 * qy);
    }
    bool loads(const std::string& path, float x = 0, float y = 0) {
        EXPECT_EQ(lua("ok = lf:map_load('" + path + "', " + std::to_string(x) + ", " +
                      std::to_string(y) + ")"),
                  "");
        return lua_string("ok") == "true";
    }
};

// The fixture map saved as TMX and as JSON loads as the same level.
class MapFormatTest : public MapScriptTest, public testing::WithParamInterface<const char*> {
  protected:
    std::string fixture() { return data_dir + "/" + GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(TmxAndJson, MapFormatTest, testing::Values("level.tmx", "level.tmj"));

TEST_P(MapFormatTest, TileAndImageLayersDrawInMapOrderWithFlipsTintAndVisibility) {
    begin();
    ASSERT_TRUE(loads(fixture(), -64, 32));
    // sky, ground, tinted, secret (in a hidden group) and the object layer.
    EXPECT_EQ(level().layer_count(), 5);
    tick();
    EXPECT_EQ(map_pixel(8, 8), red);
    EXPECT_EQ(map_pixel(24, 8), green);
    EXPECT_EQ(map_pixel(40, 24), blue);
    // Tile 4 in quarters (white, magenta / cyan, grey) as drawn, then flipped horizontally,
    // vertically and diagonally.
    const Pixel as_drawn[4] = {white, magenta, cyan, grey};
    const Pixel flipped[3][4] = {
        {magenta, white, grey, cyan}, {cyan, grey, white, magenta}, {white, cyan, magenta, grey}};
    for (int q = 0; q < 4; ++q) {
        EXPECT_EQ(quarter(3, 2, q % 2, q / 2), as_drawn[q]) << "quarter " << q;
        for (int f = 0; f < 3; ++f)
            EXPECT_EQ(quarter(4 + f, 2, q % 2, q / 2), flipped[f][q])
                << "flip " << f << " quarter " << q;
    }
    // The tinted layer: white through a red tint at half opacity over black.
    const Pixel tinted = quarter(0, 3, 0, 0);
    EXPECT_NEAR(tinted.r, 128, 2);
    EXPECT_EQ(tinted.g, 0);
    EXPECT_EQ(tinted.b, 0);
    // The hidden group's tile is not drawn; the coin, a tile object, is.
    EXPECT_EQ(map_pixel(24, 56), black);
    EXPECT_EQ(map_pixel(120, 56), purple);
    // Empty cells stay clear.
    EXPECT_EQ(map_pixel(120, 8), black);
}

TEST_P(MapFormatTest, ParallaxLinesUpAtTheOriginAndScrollsSlower) {
    begin();
    ASSERT_TRUE(loads(fixture(), -64, 32));
    // The sky picture (8 x 8 at Tiled (64, 0), parallax 0.5) lines up with the map while the
    // view's centre is at the map's parallax origin, its top-left corner.
    ASSERT_EQ(lua("lf:camera_set_position(-64, 32)"), "");
    tick();
    EXPECT_EQ(pixel(640 + 64 + 4, 360 - 4), orange);
    // 100 units to the right the sky moves 50 units, the tiles 100.
    ASSERT_EQ(lua("lf:camera_set_position(36, 32)"), "");
    tick();
    EXPECT_EQ(pixel(640 + 64 + 4 - 50, 360 - 4), orange);
    EXPECT_EQ(pixel(640 + 64 + 4, 360 - 4), black);
    EXPECT_EQ(pixel(640 - 100 + 8, 360 - 8), red);
}

TEST_P(MapFormatTest, ObjectsBecomeGroundCollidersTriggersAndSpawnPoints) {
    begin();
    ASSERT_TRUE(loads(fixture(), -64, 32));
    // The polyline: Tiled (0, 48), (64, 48), (128, 32) with code 7.
    ASSERT_EQ(level().segment_strips.size(), 1u);
    const SegmentStrip& strip = *level().segment_strips[0];
    EXPECT_EQ(strip.code, 7);
    ASSERT_EQ(strip.segments.size(), 2u);
    EXPECT_EQ(strip.segments[0].start, (Vector2{-64, -16}));
    EXPECT_EQ(strip.segments[0].end, (Vector2{0, -16}));
    EXPECT_EQ(strip.segments[1].end, (Vector2{64, 0}));
    // The rectangle collider at Tiled (96, 0), 16 x 16, with the id of its property.
    ASSERT_EQ(level().colliders.size(), 1u);
    const Collider& wall = *level().colliders[0];
    EXPECT_EQ(wall.id, 42);
    EXPECT_EQ(wall.transform.position, (Vector2{32, 32}));
    auto* box = dynamic_cast<const PolygonShape*>(wall.shape.get());
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(box->count(), 4);
    EXPECT_EQ(box->vertex(0), (Vector2{0, -16}));
    EXPECT_EQ(box->vertex(2), (Vector2{16, 0}));

    // The gate: a circle at Tiled (32..48, 16..32) that fires for a gate that lets "player" in.
    ASSERT_EQ(lua("lf:create_trigger('probe', 0, '', '', -24, 8)\n"
                  "lf:create_circle('dot', 0, 0, 2)\n"
                  "lf:trigger_shape('probe', 0, 'dot')\n"
                  "lf:trigger_add_group_can_use_me('probe', 0, 'player')\n"
                  "lf:trigger_upload('probe', 99)"),
              "");
    tick();
    EXPECT_EQ(lua_string("log"), "E5 ");

    // The point "start" at Tiled (8, 40); properties of the map and of named objects.
    ASSERT_EQ(lua("x, y = lf:map_spawn_x('start'), lf:map_spawn_y('start')\n"
                  "has, hasnt = lf:map_has_spawn('start'), lf:map_has_spawn('wall')\n"
                  "title, gravity, none = lf:map_property('title'), lf:map_property('gravity'), "
                  "tostring(lf:map_property('none'))\n"
                  "facing, code = lf:map_object_property('start', 'facing'), "
                  "lf:map_object_property('path', 'code')\n"
                  "ground, things, nolayer = lf:map_layer('ground'), lf:map_layer('things'), "
                  "lf:map_layer('none')"),
              "");
    EXPECT_EQ(lua_number("x"), -56);
    EXPECT_EQ(lua_number("y"), -8);
    EXPECT_EQ(lua_string("has"), "true");
    EXPECT_EQ(lua_string("hasnt"), "false");
    EXPECT_EQ(lua_string("title"), "Meadow");
    EXPECT_EQ(lua_string("gravity"), "9.5");
    EXPECT_EQ(lua_string("none"), "nil");
    EXPECT_EQ(lua_string("facing"), "left");
    EXPECT_EQ(lua_string("code"), "7");
    EXPECT_EQ(lua_number("ground"), 1);
    EXPECT_EQ(lua_number("things"), 4);
    EXPECT_EQ(lua_number("nolayer"), -1);

    // A new level forgets the map.
    ASSERT_EQ(lua("lf:create_level(0, 0, 0, 0)\nafter = lf:map_has_spawn('start')"), "");
    EXPECT_EQ(lua_string("after"), "false");
}

// Animated tiles play in the tile layer, every cell in step, and as tile objects.
TEST_F(MapScriptTest, AnimatedTilesPlayTheirFramesInALoop) {
    const std::string tileset =
        " <tileset firstgid=\"1\" name=\"t\" tilewidth=\"16\" tileheight=\"16\" "
        "tilecount=\"4\" columns=\"2\">\n  <image source=\"" +
        data_dir +
        "/tiles.png\" width=\"32\" height=\"32\"/>\n  <tile id=\"0\"><animation>"
        "<frame tileid=\"0\" duration=\"100\"/><frame tileid=\"1\" duration=\"200\"/>"
        "</animation></tile>\n </tileset>\n";
    std::string map = one_layer_map(3, 1, "<data encoding=\"csv\">1,2,1</data>",
                                    " <objectgroup name=\"o\"><object id=\"1\" gid=\"1\" "
                                    "x=\"0\" y=\"48\" width=\"16\" height=\"16\"/>"
                                    "</objectgroup>\n");
    const size_t from = map.find(" <tileset");
    map.replace(from, map.find("\n", from) + 1 - from, tileset);
    begin();
    write_file("maps/animated.tmx", map);
    ASSERT_TRUE(loads("maps/animated.tmx", -64, 32));
    // Cells 0 and 2 animate, cell 1 (tile 2) does not; the object sits at Tiled (0, 32).
    auto shown = [&] {
        return std::vector<Pixel>{map_pixel(8, 8), map_pixel(24, 8), map_pixel(40, 8),
                                  map_pixel(8, 40)};
    };
    tick();
    EXPECT_EQ(shown(), (std::vector<Pixel>{red, green, red, red}));
    tick(10);
    EXPECT_EQ(shown(), (std::vector<Pixel>{green, green, green, green}));
    tick(20);
    EXPECT_EQ(shown(), (std::vector<Pixel>{red, green, red, red}));
}

// Objects made from templates take the template's class, shape, size, tile and properties;
// what the object states itself wins. Maps of either format take templates and tilesets of
// either format: (JSON map, JSON templates and tileset).
class MapTemplateTest : public MapScriptTest,
                        public testing::WithParamInterface<std::pair<bool, bool>> {};

INSTANTIATE_TEST_SUITE_P(TmxAndJson, MapTemplateTest,
                         testing::Values(std::pair{false, false}, std::pair{true, true},
                                         std::pair{false, true}, std::pair{true, false}));

TEST_P(MapTemplateTest, TemplatesGiveObjectsWhatTheyDoNotStateThemselves) {
    const auto [json, json_parts] = GetParam();
    const std::string bell = data_dir + (json_parts ? "/bell.tj" : "/bell.tx");
    const std::string block = data_dir + (json_parts ? "/block.tj" : "/block.tx");
    std::string map;
    if (json) {
        map = one_layer_json(1, 1, "\"data\": [0]");
        const std::string objects =
            "\"data\": [0]}, {\"type\": \"objectgroup\", \"name\": \"o\", \"objects\": ["
            "{\"id\": 1, \"template\": \"" +
            bell +
            "\", \"x\": 32, \"y\": 16}, "
            "{\"id\": 2, \"template\": \"" +
            bell +
            "\", \"x\": 64, \"y\": 16, \"properties\": "
            "[{\"name\": \"id\", \"type\": \"int\", \"value\": 6}]}, "
            "{\"id\": 3, \"template\": \"" +
            block + "\", \"x\": 0, \"y\": 64}]}";
        map.replace(map.find("\"data\": [0]}"), std::strlen("\"data\": [0]}"), objects);
    } else {
        map = one_layer_map(
            1, 1, "<data encoding=\"csv\">0</data>",
            "<objectgroup name=\"o\">"
            "<object id=\"1\" template=\"" +
                bell +
                "\" x=\"32\" y=\"16\"/>"
                "<object id=\"2\" template=\"" +
                bell +
                "\" x=\"64\" y=\"16\"><properties>"
                "<property name=\"id\" type=\"int\" value=\"6\"/></properties></object>"
                "<object id=\"3\" template=\"" +
                block + "\" x=\"0\" y=\"64\"/></objectgroup>\n");
    }
    // The template's tile object names its tileset file, which the map must hold.
    const std::string tileset = json_parts ? "/tiles.tsj" : "/tiles.tsx";
    map.replace(map.find(json ? "/tiles.tsj" : "/tiles.tsx"), tileset.size(), tileset);
    begin();
    const std::string path = json ? "maps/templates.tmj" : "maps/templates.tmx";
    write_file(path, map);
    ASSERT_TRUE(loads(path, -64, 32)) << map;
    // A probe in each bell (Tiled centres (40, 24) and (72, 24)) that lets "player" in.
    ASSERT_EQ(lua("for i, x in ipairs({-24, 8}) do\n"
                  "  lf:create_trigger('p' .. i, 0, '', '', x, 8)\n"
                  "  lf:create_circle('d' .. i, 0, 0, 2)\n"
                  "  lf:trigger_shape('p' .. i, 0, 'd' .. i)\n"
                  "  lf:trigger_add_group_can_use_me('p' .. i, 0, 'player')\n"
                  "  lf:trigger_upload('p' .. i, 90 + i)\n"
                  "end"),
              "");
    tick();
    EXPECT_EQ(lua_string("log"), "E5 E6 ");
    // The block template's tile 3 of its own tileset, which the map holds too.
    EXPECT_EQ(map_pixel(8, 56), blue);
}

// The same cells in every encoding Tiled writes draw the same tiles.
TEST_F(MapScriptTest, EveryLayerEncodingGivesTheSameTiles) {
    const std::vector<uint32_t> cells = {1, 2, 0, 3, 0, 0, 2147483652u, 2, 3, 1, 0, 0};
    std::string xml_tiles;
    for (uint32_t c : cells)
        xml_tiles += "<tile gid=\"" + std::to_string(c) + "\"/>";
    const std::vector<uint8_t> raw = little_endian(cells);
    const std::pair<const char*, std::string> encodings[] = {
        {"csv", "<data encoding=\"csv\">\n" + csv(cells) + "\n</data>"},
        {"xml", "<data>" + xml_tiles + "</data>"},
        {"base64", "<data encoding=\"base64\">\n   " + base64(raw) + "\n  </data>"},
        {"zlib", "<data encoding=\"base64\" compression=\"zlib\">" +
                     base64(deflate_bytes(raw, 15)) + "</data>"},
        {"gzip", "<data encoding=\"base64\" compression=\"gzip\">" +
                     base64(deflate_bytes(raw, 31)) + "</data>"},
        {"json list", "\"data\": [" + csv(cells) + "]"},
        {"json base64", "\"encoding\": \"base64\", \"data\": \"" + base64(raw) + "\""},
        {"json zlib", "\"encoding\": \"base64\", \"compression\": \"zlib\", \"data\": \"" +
                          base64(deflate_bytes(raw, 15)) + "\""},
        {"json gzip", "\"encoding\": \"base64\", \"compression\": \"gzip\", \"data\": \"" +
                          base64(deflate_bytes(raw, 31)) + "\""},
    };
    begin();
    for (const auto& [name, data] : encodings) {
        SCOPED_TRACE(name);
        const bool json = std::string(name).starts_with("json");
        const std::string path = std::string("maps/") + name + (json ? ".tmj" : ".tmx");
        write_file(path, json ? one_layer_json(4, 3, data) : one_layer_map(4, 3, data));
        ASSERT_EQ(lua("lf:create_level(0, 0, 0, 0)"), "");
        ASSERT_TRUE(loads(path, -64, 32));
        tick();
        const Pixel expected[12] = {red,     green, black, blue, black, black,
                                    magenta, green, blue,  red,  black, black};
        for (int i = 0; i < 12; ++i)
            EXPECT_EQ(map_pixel(16 * (i % 4) + 4, 16 * (i / 4) + 4), expected[i]) << "cell " << i;
    }
}

TEST_F(MapScriptTest, InfiniteMapsPlaceTheirChunksAroundTheOrigin) {
    std::vector<uint32_t> a(16 * 16, 0), b(16 * 16, 0);
    a[15 * 16 + 15] = 1;  // cell (-1, -1)
    a[0] = 2;             // cell (-16, -16)
    b[0] = 3;             // cell (0, 0)
    b[1 * 16 + 2] = 1;    // cell (2, 1)
    const std::string data =
        "<data encoding=\"csv\"><chunk x=\"-16\" y=\"-16\" width=\"16\" "
        "height=\"16\">" +
        csv(a) + "</chunk><chunk x=\"0\" y=\"0\" width=\"16\" height=\"16\">" + csv(b) +
        "</chunk></data>";
    std::string map = one_layer_map(0, 0, data);
    map.replace(map.find("<map "), 5, "<map infinite=\"1\" ");
    begin();
    write_file("maps/infinite.tmx", map);
    ASSERT_TRUE(loads("maps/infinite.tmx"));
    tick();
    // Tiled (x, y) at world (x, -y): pixel (640 + x, 360 - y).
    EXPECT_EQ(pixel(640 - 8, 360 + 8), red);
    EXPECT_EQ(pixel(640 + 8, 360 - 8), blue);
    EXPECT_EQ(pixel(640 + 40, 360 - 24), red);
    EXPECT_EQ(pixel(640 - 24, 360 + 8), black);
    ASSERT_EQ(lua("lf:camera_set_position(-256 + 8, 256 - 8)"), "");
    tick();
    EXPECT_EQ(pixel(640, 360), green);
}

// A huge layer costs what the view shows: the same tiles drawn as for a one-screen layer.
TEST_F(MapScriptTest, ATileLayerDrawsOnlyTheCellsInView) {
    const int side = 1000;
    const std::vector<uint32_t> cells(size_t(side) * side, 1);
    begin();
    write_file("maps/huge.tmx",
               one_layer_map(side, side,
                             "<data encoding=\"base64\" compression=\"zlib\">" +
                                 base64(deflate_bytes(little_endian(cells), 15)) + "</data>"));
    write_file("maps/screen.tmx",
               one_layer_map(
                   82, 47,
                   "<data encoding=\"csv\">" + csv(std::vector<uint32_t>(82 * 47, 1)) + "</data>"));
    ASSERT_TRUE(loads("maps/huge.tmx"));
    // The view is 1280 x 720 units: at most 81 x 46 cells of 16 meet it, 82 x 47 when it
    // straddles cell edges.
    ASSERT_EQ(lua("lf:camera_set_position(8000.5, -8000.5)"), "");
    tick();
    TileLayer* huge = tile_layer(0);
    ASSERT_NE(huge, nullptr);
    EXPECT_GE(huge->tiles_drawn(), 80 * 45);
    EXPECT_LE(huge->tiles_drawn(), 82 * 47);
    EXPECT_EQ(pixel(640, 360), red);
    EXPECT_EQ(pixel(0, 0), red);
    EXPECT_EQ(pixel(1279, 719), red);
    const int64_t in_view = huge->tiles_drawn();

    ASSERT_EQ(lua("lf:create_level(0, 0, 0, 0)"), "");
    ASSERT_TRUE(loads("maps/screen.tmx", 8000.5 - 656, -8000.5 + 376));
    tick();
    EXPECT_EQ(tile_layer(0)->tiles_drawn(), in_view);

    // Beyond the map's edge nothing is drawn.
    ASSERT_EQ(lua("lf:camera_set_position(-5000, 0)"), "");
    tick();
    EXPECT_EQ(tile_layer(0)->tiles_drawn(), 0);
}

// A map that cannot be used whole changes nothing: no layer, ground, collider, trigger,
// texture or name; the load returns false and says why.
TEST_F(MapScriptTest, BadMapsLeaveTheLevelAsItWas) {
    // Good parts first, so a partial load would show.
    const std::string good_objects =
        " <objectgroup name=\"things\">\n"
        "  <object id=\"1\" type=\"ground\" x=\"0\" y=\"48\"><polyline points=\"0,0 "
        "64,0\"/></object>\n"
        "  <object id=\"2\" type=\"collider\" x=\"0\" y=\"0\" width=\"8\" height=\"8\"/>\n"
        "  <object id=\"3\" type=\"trigger\" x=\"0\" y=\"0\" width=\"8\" height=\"8\"/>\n"
        "  <object id=\"4\" name=\"spot\" x=\"0\" y=\"0\"><point/></object>\n"
        " </objectgroup>\n";
    const std::string base =
        one_layer_map(2, 1, "<data encoding=\"csv\">1,2</data>", good_objects + "BAD");
    // A tileset whose tile 0 plays the frame given, and a layer showing that tile.
    auto animated = [](const std::string& frame) {
        return "<tileset firstgid=\"10\" name=\"a\" tilewidth=\"16\" tileheight=\"16\" "
               "tilecount=\"4\" columns=\"2\"><image source=\"" +
               data_dir + "/tiles.png\"/><tile id=\"0\"><animation><frame " + frame +
               "/></animation></tile></tileset><layer name=\"b\" width=\"1\" "
               "height=\"1\"><data encoding=\"csv\">10</data></layer>";
    };
    struct Case {
        const char* name;
        const char* from;
        std::string to;
        const char* reason;
    };
    const Case cases[] = {
        {"damaged XML", "</map>", "<map", "damaged XML"},
        {"missing file", "", "", "no such file"},
        // A folder's length reads as 2^63 bytes to the XML reader.
        {"folder", "", "", "no such file"},
        {"missing tileset", "tiles.tsx", "nothing.tsx", "no such file"},
        {"missing picture", "BAD",
         "<imagelayer name=\"i\"><image source=\"nothing.png\"/></imagelayer>", "does not load"},
        {"unknown tile id", "1,2", "1,99", "unknown tile id 99"},
        {"isometric", "orientation=\"orthogonal\"", "orientation=\"isometric\"",
         "unsupported orientation"},
        {"hexagonal", "orientation=\"orthogonal\"", "orientation=\"hexagonal\"",
         "unsupported orientation"},
        {"zstd", "encoding=\"csv\">1,2",
         "encoding=\"base64\" compression=\"zstd\">AQAAAAIAAAA=", "unsupported layer compression"},
        {"absurd size", "width=\"2\" height=\"1\">", "width=\"100000\" height=\"100000\">",
         "too large"},
        {"too few cells", "1,2", "1", "instead of 2"},
        {"too many cells", "1,2", "1,2,3", "more than 2"},
        {"damaged base64", "encoding=\"csv\">1,2",
         "encoding=\"base64\">AQ!AAAIAAAA=", "damaged base64"},
        {"damaged zlib", "encoding=\"csv\">1,2",
         "encoding=\"base64\" compression=\"zlib\">AQAAAAIAAAA=", "damaged zlib"},
        {"gzip that holds too much", "encoding=\"csv\">1,2",
         "encoding=\"base64\" compression=\"gzip\">" +
             base64(deflate_bytes(little_endian({1, 2, 3}), 31)),
         "damaged gzip"},
        {"no tile size", "tilewidth=\"16\" tileheight=\"16\">",
         "tilewidth=\"0\" tileheight=\"16\">", "tilewidth"},
        {"hexagonal tile flag", "1,2", "1,268435458", "hexagonal"},
        {"concave trigger", "BAD",
         "<objectgroup><object id=\"9\" type=\"trigger\" x=\"0\" y=\"0\">"
         "<polygon points=\"0,0 20,0 10,5 20,20 0,20\"/></object></objectgroup>",
         "not convex"},
        {"collider crossing itself", "BAD",
         "<objectgroup><object id=\"9\" type=\"collider\" x=\"0\" y=\"0\">"
         "<polygon points=\"0,0 20,0 20,20 5,20 5,-10 0,-10\"/></object></objectgroup>",
         "crosses itself"},
        {"unknown trigger kind", "BAD",
         "<objectgroup><object id=\"9\" type=\"trigger\" x=\"0\" y=\"0\" width=\"4\" height=\"4\">"
         "<properties><property name=\"kind\" value=\"door\"/></properties></object>"
         "</objectgroup>",
         "unknown trigger kind"},
        {"missing template", "BAD",
         "<objectgroup><object id=\"9\" template=\"a.tx\"/></objectgroup>",
         "template maps/a.tx: no such file"},
        {"ground code", "BAD",
         "<objectgroup><object id=\"9\" type=\"ground\" x=\"0\" y=\"0\">"
         "<properties><property name=\"code\" value=\"seven\"/></properties>"
         "<polyline points=\"0,0 9,0\"/></object></objectgroup>",
         "code is not an integer"},
        {"damaged points", "BAD",
         "<objectgroup><object id=\"9\" type=\"ground\" x=\"0\" y=\"0\">"
         "<polyline points=\"0,0 9\"/></object></objectgroup>",
         "damaged points"},
        {"template tileset not in the map", "BAD",
         "<objectgroup><object id=\"9\" template=\"lone.tx\" x=\"0\" y=\"0\"/></objectgroup>",
         "is not one of the map's"},
        {"animation of an unknown tile", "BAD", animated("tileid=\"9\" duration=\"100\""),
         "unknown tile 9"},
        {"animation frame without time", "BAD", animated("tileid=\"1\" duration=\"0\""),
         "lasts no time"},
        {"number that is none", "tilewidth=\"16\" tileheight=\"16\">",
         "tilewidth=\"16\" tileheight=\"sixteen\">", "tileheight"},
    };
    setenv("VELDEN_SCRIPT_ERRORS", "1", 1);
    begin(
        "lf:create_layer(1, 1, 0)\n"
        "lf:create_segment(0, 0)\nlf:add_segment(10, 0)\nlf:upload_segmentstrip()\n"
        "lf:create_shape('s', 3, 5, 5)\nlf:create_collider(1, 's', 0, 0)\n");
    write_file("maps/lone.tx",
               "<template><tileset firstgid=\"1\" source=\"lone.tsx\"/>"
               "<object gid=\"1\" width=\"16\" height=\"16\"/></template>");
    const size_t textures = TextureRegistry::instance().size();
    const size_t triggers = Game::instance().triggers->count();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string map = base;
        if (*c.from) {
            const size_t at = map.find(c.from);
            ASSERT_NE(at, std::string::npos);
            map.replace(at, std::strlen(c.from), c.to);
        }
        if (const size_t bad = map.find("BAD"); bad != std::string::npos)
            map.replace(bad, 3, "");
        const std::string path = std::string("maps/") + c.name + ".tmx";
        if (std::string(c.name) == "folder")
            std::filesystem::create_directories(std::filesystem::path(dir) / path);
        else if (std::string(c.name) != "missing file")
            write_file(path, map);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(loads(path));
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("map_load: " + path + ": "), std::string::npos) << said;
        EXPECT_NE(said.find(c.reason), std::string::npos) << said;
        EXPECT_EQ(level().layer_count(), 1);
        EXPECT_EQ(level().layers[0]->size(), 0u);
        EXPECT_EQ(level().segment_strips.size(), 1u);
        EXPECT_EQ(level().colliders.size(), 1u);
        EXPECT_EQ(Game::instance().triggers->count(), triggers);
        EXPECT_EQ(TextureRegistry::instance().size(), textures);
        EXPECT_TRUE(level().marks.spawn_points.empty());
        EXPECT_TRUE(level().marks.layers.empty());
    }
    // The same map without its fault loads.
    std::string map = base;
    map.replace(map.find("BAD"), 3, "");
    write_file("maps/good.tmx", map);
    EXPECT_TRUE(loads("maps/good.tmx"));
    EXPECT_EQ(level().layer_count(), 3);
    EXPECT_EQ(level().segment_strips.size(), 2u);
    EXPECT_EQ(level().colliders.size(), 2u);
    EXPECT_EQ(Game::instance().triggers->count(), triggers + 1);
}

// JSON maps fail as cleanly, for their own faults too.
TEST_F(MapScriptTest, BadJsonMapsLeaveTheLevelAsItWas) {
    const std::string good = one_layer_json(2, 1, "\"data\": [1, 2]");
    struct Case {
        const char* name;
        const char* from;
        const char* to;
        const char* reason;
    };
    const Case cases[] = {
        {"damaged", "]}]}", "]}]", "damaged JSON"},
        {"a tileset", "\"type\": \"map\"", "\"type\": \"tileset\"", "not a Tiled map"},
        {"isometric", "\"orthogonal\"", "\"isometric\"", "unsupported orientation"},
        {"missing tileset", "tiles.tsj", "nothing.tsj", "no such file"},
        {"tile id as text", "[1, 2]", "[1, \"2\"]", "not a number"},
        {"negative tile id", "[1, 2]", "[1, -2]", "out of range"},
        {"too few cells", "[1, 2]", "[1]", "instead of 2"},
        {"unknown tile id", "[1, 2]", "[1, 77]", "unknown tile id 77"},
        {"unknown layer type", "\"tilelayer\"", "\"hexlayer\"", "unknown layer type"},
        {"size as text", "\"tilewidth\": 16", "\"tilewidth\": \"16\"", "tilewidth"},
        {"fractional size", "\"tilewidth\": 16", "\"tilewidth\": 16.5", "tilewidth"},
        {"layers not a list", "\"layers\": [", "\"layers\": {\"a\": [", "damaged JSON"},
        {"compressed list", "\"data\": [1, 2]", "\"compression\": \"zlib\", \"data\": [1, 2]",
         "cannot be compressed"},
    };
    setenv("VELDEN_SCRIPT_ERRORS", "1", 1);
    begin("lf:create_layer(1, 1, 0)\n");
    const size_t textures = TextureRegistry::instance().size();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string map = good;
        const size_t at = map.find(c.from);
        ASSERT_NE(at, std::string::npos);
        map.replace(at, std::strlen(c.from), c.to);
        const std::string path = std::string("maps/") + c.name + ".tmj";
        write_file(path, map);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(loads(path));
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("map_load: " + path + ": "), std::string::npos) << said;
        EXPECT_NE(said.find(c.reason), std::string::npos) << said;
        EXPECT_EQ(level().layer_count(), 1);
        EXPECT_EQ(TextureRegistry::instance().size(), textures);
    }
    write_file("maps/good.tmj", good);
    EXPECT_TRUE(loads("maps/good.tmj"));
    EXPECT_EQ(level().layer_count(), 2);
}

TEST_F(MapScriptTest, WithoutALevelNothingLoads) {
    setenv("VELDEN_SCRIPT_ERRORS", "1", 1);
    start("lf = LuaFunctions()\n");
    testing::internal::CaptureStderr();
    ASSERT_EQ(lua("ok = lf:map_load('" + data_dir +
                  "/level.tmx', 0, 0)\n"
                  "x = lf:map_spawn_x('start')\nl = lf:map_layer('ground')"),
              "");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(lua_string("ok"), "false");
    EXPECT_NE(said.find("no current level"), std::string::npos) << said;
    EXPECT_EQ(lua_number("x"), 0);
    EXPECT_EQ(lua_number("l"), -1);
    EXPECT_EQ(Game::instance().level, nullptr);
}

// A level drawn in Tiled plays with a script that only adds the player: it lands on the map's
// ground at the spawn point, rings the map's gate on the way and is stopped by its wall.
TEST_F(MapScriptTest, AMapPlaysAsALevelWithAScriptThatOnlyAddsThePlayer) {
    write_file("Data/Scripts/bell.lua", "log = log .. 'B' .. parameter .. ' '");
    begin("assert(lf:map_load('" + data_dir + R"(/play.tmx', 0, 0))
        lf:add_vk_pair(39, 'right')
        lf:create_creature('hero', 0, '', '', '', '')
        lf:creature_shape('hero', 0, 16, 16)
        lf:creature_translation('hero', 0, lf:map_spawn_x('start'), lf:map_spawn_y('start'))
        lf:creature_speed('hero', 0, 2500)
        lf:creature_drag('hero', 0, 10, '')
        lf:creature_gravity('hero', 0, 1800)
        lf:create_trigger('hero_gate', 0, '', '', 0, 0)
        lf:create_shape('hero_box', 3, 12, 16)
        lf:trigger_shape('hero_gate', 0, 'hero_box')
        lf:trigger_add_group_can_use_me('hero_gate', 0, 'bell')
        lf:creature_trigger('hero', 0, 'hero_gate', 0)
        lf:add_player_trigger_to_manager()
        lf:add_input_listener(3, 'right')
        lf:upload_controller(1)
        lf:upload_player_to_layer(lf:map_layer('world'))
    )");
    CreatureBody& body = Game::instance().player->body;
    tick(60);
    ASSERT_TRUE(body.ground) << "the player stands on the map's ground";
    EXPECT_FLOAT_EQ(body.transform.position.x, 20);
    EXPECT_NEAR(body.transform.position.y, -100, 0.01);
    EXPECT_EQ(lua_string("log"), "");
    keyboard.press(vk::right);
    tick(300);
    EXPECT_EQ(lua_string("log"), "B7 ");
    // The wall's left side is at x = 300 and the player's box 12 units wide each way.
    EXPECT_GT(body.transform.position.x, 280);
    EXPECT_LE(body.transform.position.x, 288.5);
    EXPECT_NEAR(body.transform.position.y, -100, 0.01);
}

// Tile objects of class ground, collider or trigger stand for their picture's rectangle, and a
// concave collider becomes convex pieces with one id.
TEST_F(MapScriptTest, TileObjectsAndConcaveOutlinesTakeTheirRoles) {
    write_file("maps/roles.tmx",
               "<map orientation=\"orthogonal\" width=\"8\" height=\"8\" tilewidth=\"16\" "
               "tileheight=\"16\">\n <tileset firstgid=\"1\" source=\"" +
                   data_dir +
                   "/tiles.tsx\"/>\n <objectgroup name=\"things\">\n"
                   // A 32 x 16 tile hanging from Tiled (16, 64): ground along its top, y = 48.
                   "  <object id=\"1\" type=\"ground\" gid=\"1\" x=\"16\" y=\"64\" width=\"32\" "
                   "height=\"16\"/>\n"
                   "  <object id=\"2\" type=\"collider\" gid=\"2\" x=\"64\" y=\"32\"/>\n"
                   "  <object id=\"3\" type=\"trigger\" gid=\"3\" x=\"96\" y=\"32\">\n"
                   "   <properties><property name=\"script\" value=\"Data/Scripts/enter.lua\"/>"
                   "<property name=\"groups\" value=\"coin\"/></properties>\n  </object>\n"
                   // An L: 40 wide at the bottom, 20 wide at the top.
                   "  <object id=\"4\" type=\"collider\" x=\"0\" y=\"128\">\n"
                   "   <polygon points=\"0,0 40,0 40,-20 20,-20 20,-40 0,-40\"/>\n  </object>\n"
                   " </objectgroup>\n</map>\n");
    begin();
    ASSERT_TRUE(loads("maps/roles.tmx"));
    // Each tile object is also a sprite.
    EXPECT_EQ(level().layers[0]->size(), 3u);

    ASSERT_EQ(level().segment_strips.size(), 1u);
    const SegmentStrip& strip = *level().segment_strips[0];
    ASSERT_EQ(strip.segments.size(), 1u);
    EXPECT_EQ(strip.segments[0].start, (Vector2{16, -48}));
    EXPECT_EQ(strip.segments[0].end, (Vector2{48, -48}));

    // The tile collider spans the tile's 16 x 16 above its lower-left corner at (64, -32).
    ASSERT_GE(level().colliders.size(), 3u);
    const Collider& tile = *level().colliders[0];
    EXPECT_EQ(tile.id, 2);
    EXPECT_EQ(tile.transform.position, (Vector2{64, -32}));
    auto* box = dynamic_cast<const PolygonShape*>(tile.shape.get());
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(box->count(), 4);
    EXPECT_EQ(box->vertex(0), (Vector2{0, 0}));
    EXPECT_EQ(box->vertex(2), (Vector2{16, 16}));

    // The L in two convex pieces of one id, 40 x 20 + 20 x 20 units in all.
    ASSERT_EQ(level().colliders.size(), 3u);
    float area = 0;
    for (size_t i = 1; i < 3; ++i) {
        const Collider& piece = *level().colliders[i];
        EXPECT_EQ(piece.id, 4);
        EXPECT_EQ(piece.transform.position, (Vector2{0, -128}));
        auto* polygon = dynamic_cast<const PolygonShape*>(piece.shape.get());
        ASSERT_NE(polygon, nullptr);
        for (int32_t k = 0; k < polygon->count(); ++k)
            area += cross(polygon->vertex(k), polygon->vertex((k + 1) % polygon->count())) / 2;
    }
    EXPECT_EQ(area, 1200.0f);

    // The tile trigger fires for a probe inside the tile's rectangle, (96..112, -32..-16).
    ASSERT_EQ(lua("lf:create_trigger('probe', 0, '', '', 104, -24)\n"
                  "lf:create_circle('dot', 0, 0, 2)\n"
                  "lf:trigger_shape('probe', 0, 'dot')\n"
                  "lf:trigger_add_group_can_use_me('probe', 0, 'coin')\n"
                  "lf:trigger_upload('probe', 99)"),
              "");
    tick();
    EXPECT_EQ(lua_string("log"), "E3 ");
}

// A tile object shows its tile with the same flips as a cell of a tile layer: all eight
// combinations, the diagonal one included, side by side with cells that carry them.
TEST_F(MapScriptTest, TileObjectsFlipLikeTheCellsOfATileLayer) {
    std::string cells, objects;
    for (uint32_t f = 0; f < 8; ++f) {
        const uint32_t gid = 4u | (f << 29);
        cells += (f ? "," : "") + std::to_string(gid);
        // The object hangs from its lower-left corner: row 1, under its cell.
        objects += "<object id=\"" + std::to_string(f + 1) + "\" gid=\"" + std::to_string(gid) +
                   "\" x=\"" + std::to_string(16 * f) + "\" y=\"32\" width=\"16\" height=\"16\"/>";
    }
    write_file("maps/flips.tmx",
               one_layer_map(8, 1, "<data encoding=\"csv\">" + cells + "</data>",
                             "<objectgroup name=\"o\">" + objects + "</objectgroup>\n"));
    begin();
    ASSERT_TRUE(loads("maps/flips.tmx", -64, 32));
    tick();
    for (int f = 0; f < 8; ++f)
        for (int q = 0; q < 4; ++q)
            EXPECT_EQ(quarter(f, 1, q % 2, q / 2), quarter(f, 0, q % 2, q / 2))
                << "flips " << f << " quarter " << q;
    // Not all alike: the diagonal flip swaps the upper-right and lower-left quarters.
    EXPECT_NE(quarter(1, 1, 1, 0), quarter(0, 1, 1, 0));
    EXPECT_EQ(quarter(1, 1, 1, 0), quarter(0, 1, 0, 1));
}

// A map's background colour fills the frame behind every layer until a new level comes.
TEST_F(MapScriptTest, TheMapsBackgroundColourIsBehindEveryLayer) {
    std::string tmx = one_layer_map(1, 1, "<data encoding=\"csv\">1</data>");
    tmx.insert(tmx.find("tilewidth"), "backgroundcolor=\"#336699\" ");
    write_file("maps/blue.tmx", tmx);
    std::string json = one_layer_json(1, 1, "\"data\": [1]");
    json.insert(1, "\"backgroundcolor\": \"#80ff8000\", ");
    write_file("maps/orange.tmj", json);
    std::string bad = tmx;
    bad.replace(bad.find("#336699"), 7, "#33669");
    write_file("maps/bad.tmx", bad);
    begin();
    tick();
    EXPECT_EQ(map_pixel(200, 100), black);
    ASSERT_TRUE(loads("maps/blue.tmx", -64, 32));
    tick();
    EXPECT_EQ(map_pixel(200, 100), (Pixel{0x33, 0x66, 0x99, 255}));
    EXPECT_EQ(map_pixel(8, 8), red) << "the tile in front of it";
    // A later map's colour replaces it; a map that fails leaves it.
    ASSERT_TRUE(loads("maps/orange.tmj", -64, 32));
    EXPECT_FALSE(loads("maps/bad.tmx", -64, 32));
    tick();
    EXPECT_EQ(map_pixel(200, 100), (Pixel{0xff, 0x80, 0, 255}));
    ASSERT_EQ(lua("lf:create_level(0, 0, 0, 0)"), "");
    tick();
    EXPECT_EQ(map_pixel(200, 100), black);
}

// Image layers that repeat along x, or along both axes, fill the view with copies however far
// the camera goes; along an axis that does not repeat there is one copy.
TEST_F(MapScriptTest, RepeatingImageLayersFillTheViewWithCopies) {
    auto map = [](const std::string& repeat) {
        return "<map orientation=\"orthogonal\" width=\"1\" height=\"1\" tilewidth=\"16\" "
               "tileheight=\"16\"><imagelayer id=\"1\" name=\"i\" " +
               repeat + "><image source=\"" + data_dir +
               "/tiles.png\" width=\"32\" height=\"32\"/></imagelayer></map>";
    };
    write_file("maps/x.tmx", map("repeatx=\"1\""));
    write_file("maps/xy.tmj",
               "{\"type\": \"map\", \"orientation\": \"orthogonal\", \"width\": 1, \"height\": 1, "
               "\"tilewidth\": 16, \"tileheight\": 16, \"layers\": [{\"type\": \"imagelayer\", "
               "\"id\": 1, \"name\": \"i\", \"repeatx\": true, \"repeaty\": true, \"image\": \"" +
                   data_dir + "/tiles.png\"}]}");
    begin();
    // The atlas's quarters: red, green / blue, quartered.
    ASSERT_TRUE(loads("maps/x.tmx", -64, 32));
    for (float camera : {0.0f, 100000.0f, -100000.0f}) {
        SCOPED_TRACE(camera);
        ASSERT_EQ(lua("lf:camera_set_position(" + std::to_string(camera) + ", 0)"), "");
        tick();
        for (int copy : {-17, -1, 0, 7, 20}) {
            EXPECT_EQ(map_pixel(32 * copy + 8, 8), red) << copy;
            EXPECT_EQ(map_pixel(32 * copy + 24, 8), green) << copy;
            EXPECT_EQ(map_pixel(32 * copy + 8, 24), blue) << copy;
            EXPECT_EQ(map_pixel(32 * copy + 8, 40), black) << "one row of copies";
            EXPECT_EQ(map_pixel(32 * copy + 8, -8), black) << "one row of copies";
        }
    }
    ASSERT_EQ(lua("lf:create_level(0, 0, 0, 0)\nlf:camera_set_position(0, 0)"), "");
    ASSERT_TRUE(loads("maps/xy.tmj", -64, 32));
    tick();
    for (int row : {-10, -1, 0, 5, 10})
        for (int copy : {-17, 0, 20}) {
            EXPECT_EQ(map_pixel(32 * copy + 8, 32 * row + 8), red) << copy << ", " << row;
            EXPECT_EQ(map_pixel(32 * copy + 8, 32 * row + 24), blue) << copy << ", " << row;
        }
}

// A map loaded at a scale puts every Tiled pixel at that many world units: tiles, objects,
// ground, colliders and spawn points alike. A scale that is no size loads nothing.
TEST_P(MapFormatTest, AScaledMapGrowsEverythingByItsScale) {
    // Read when the game starts.
    setenv("VELDEN_SCRIPT_ERRORS", "1", 1);
    begin();
    ASSERT_EQ(lua("ok = lf:map_load_scaled('" + fixture() + "', 0, 0, 2)"), "");
    ASSERT_EQ(lua_string("ok"), "true");
    tick();
    // World (x, y) is window pixel (640 + x, 360 + y); Tiled (tx, ty) is world (2 tx, -2 ty).
    auto tiled_pixel = [&](int tx, int ty) { return pixel(640 + 2 * tx, 360 - 2 * ty); };
    EXPECT_EQ(tiled_pixel(8, 8), red);
    EXPECT_EQ(tiled_pixel(24, 8), green);
    EXPECT_EQ(tiled_pixel(15, 1), red) << "a tile 32 units wide";
    EXPECT_EQ(tiled_pixel(120, 56), purple) << "the coin, a tile object";
    ASSERT_EQ(level().segment_strips.size(), 1u);
    EXPECT_EQ(level().segment_strips[0]->segments[1].end, (Vector2{256, -64}));
    ASSERT_EQ(level().colliders.size(), 1u);
    EXPECT_EQ(level().colliders[0]->transform.position, (Vector2{192, 0}));
    auto* box = dynamic_cast<const PolygonShape*>(level().colliders[0]->shape.get());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->vertex(2), (Vector2{32, 0}));
    EXPECT_EQ(box->vertex(0), (Vector2{0, -32}));
    ASSERT_EQ(lua("x, y = lf:map_spawn_x('start'), lf:map_spawn_y('start')"), "");
    EXPECT_EQ(lua_number("x"), 16);
    EXPECT_EQ(lua_number("y"), -80);

    const int32_t layers = level().layer_count();
    for (const char* scale : {"0", "-1", "0/0", "1e9"}) {
        testing::internal::CaptureStderr();
        ASSERT_EQ(lua("ok = lf:map_load_scaled('" + fixture() + "', 0, 0, " + scale + ")"), "");
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(lua_string("ok"), "false") << scale;
        EXPECT_NE(said.find("it must be above 0"), std::string::npos) << said;
    }
    EXPECT_EQ(level().layer_count(), layers);
}
