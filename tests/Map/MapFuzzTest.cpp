// Mutated Tiled maps fed to the loader and drawn, under the sanitizers: none may crash, read out
// of bounds or leave half a map in the level.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "Mechanisms/TriggerManager.h"
#include "Scene/Level.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

namespace {

const std::string data_dir = std::string(VELDEN_TEST_DATA) + "/tiled";

std::string read_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// One random change of the kinds that break maps: a character, a number, a cut, a copy.
std::string mutate(std::string text, std::mt19937& random) {
    auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
    static const char* const numbers[] = {"0",    "-1",  "65536", "4294967295", "99999999999",
                                          "1e30", "nan", "-0.5",  "2147483652", "16"};
    static const char characters[] = "<>/\"=,{}[]:0123456789 -.ae";
    const size_t at = pick(text.size());
    switch (pick(5)) {
        case 0:
            text[at] = characters[pick(sizeof characters - 1)];
            break;
        case 1: {
            // A number in place of the digits found from here.
            size_t start = text.find_first_of("0123456789", at);
            if (start == std::string::npos)
                break;
            size_t end = text.find_first_not_of("0123456789", start);
            text.replace(start, end - start, numbers[pick(std::size(numbers))]);
            break;
        }
        case 2:
            text.erase(at, pick(40) + 1);
            break;
        case 3:
            text.insert(pick(text.size()), text.substr(at, pick(80) + 1));
            break;
        default:
            text.resize(at);
            break;
    }
    return text;
}

}  // namespace

class MapFuzzTest : public EngineTest {};

TEST_F(MapFuzzTest, MutatedMapsLoadWholeOrNotAtAll) {
    start("lf = LuaFunctions()\n");
    // The fixture's pictures and tilesets beside the mutated maps.
    for (const char* name : {"tiles.png", "sky.png", "coin.png", "tiles.tsx", "tiles.tsj"})
        std::filesystem::copy_file(data_dir + "/" + name, dir + "/" + name);
    std::mt19937 random(2026);
    int loaded = 0, refused = 0;
    for (const char* name : {"level.tmx", "level.tmj", "tiles.tsx", "tiles.tsj"}) {
        const std::string original = read_text(data_dir + "/" + name);
        const bool tileset = std::strncmp(name, "tiles", 5) == 0;
        const std::string map = tileset ? (name[7] == 'x' ? "level.tmx" : "level.tmj") : name;
        if (tileset)
            std::filesystem::copy_file(data_dir + "/" + map, dir + "/" + map,
                                       std::filesystem::copy_options::overwrite_existing);
        for (int i = 0; i < 300; ++i) {
            std::string text = mutate(original, random);
            if (i % 3 == 0)
                text = mutate(text, random);
            write_file(name, text);
            ASSERT_EQ(lua("lf:create_level(0, 0, 0, 0)\nok = lf:map_load('" + map + "', -64, 32)"),
                      "");
            Level& level = *Game::instance().level;
            if (lua_string("ok") == "true") {
                ++loaded;
                EXPECT_GT(level.layer_count(), 0);
            } else {
                ++refused;
                EXPECT_EQ(level.layer_count(), 0);
                EXPECT_TRUE(level.segment_strips.empty());
                EXPECT_TRUE(level.colliders.empty());
                EXPECT_EQ(Game::instance().triggers->count(), 0u);
            }
            // Whatever loaded is drawn, and the camera moves over it.
            ASSERT_EQ(lua("lf:camera_set_position(" + std::to_string(i % 7 * 40 - 120) + ", " +
                          std::to_string(i % 5 * 30 - 60) + ")"),
                      "");
            tick();
        }
        write_file(name, original);
    }
    // Both outcomes happen often enough for the run to mean something.
    EXPECT_GT(loaded, 100);
    EXPECT_GT(refused, 300);
}
