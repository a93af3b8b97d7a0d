#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <lua.hpp>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include <SDL.h>
#include <SDL_mixer.h>
#include "Audio/MusicEngine.h"
#include "Audio/SoundEffect.h"
#include "Audio/SoundVarietyCollection.h"
#include "Creatures/MovingCreature.h"
#include "Creatures/Player.h"
#include "Creatures/RunawayState.h"
#include "Flow/Button.h"
#include "Flow/Dialog.h"
#include "Flow/MenuInput.h"
#include "Mechanisms/Bullet.h"
#include "Mechanisms/Door.h"
#include "Mechanisms/GateTrigger.h"
#include "Mechanisms/Hammer.h"
#include "Mechanisms/Shooter.h"
#include "Mechanisms/TimedTrigger.h"
#include "Map/TileLayer.h"
#include "Mechanisms/TriggerManager.h"
#include "Physics/Ground.h"
#include "Platform/EventPump.h"
#include "Platform/Keyboard.h"
#include "Platform/PadMap.h"
#include "Platform/VirtualKeys.h"
#include "Platform/VirtualPad.h"
#include "Render/Camera.h"
#include "Render/FontMap.h"
#include "Render/PngLoader.h"
#include "Render/Registries.h"
#include "Render/Renderer.h"
#include "Scene/AnimatedSprite.h"
#include "Scene/Hud.h"
#include "Scene/Level.h"
#include "Scene/ParticleEmitter.h"
#include "Scene/RemorfableSprite.h"
#include "Scene/ScrollingSprite.h"
#include "Scene/SpeechBubble.h"
#include "Scene/TempLists.h"
#include "Scene/TextSpitter.h"
#include "Scene/TexturedSprite.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

namespace fs = std::filesystem;

namespace {

// The pictures the sample game registers, the two font pictures among them.
const char* const picture_names[] = {"sky",   "sun",   "glow", "clouds",     "mountains",
                                     "hills", "tiles", "hero", "coin",       "torch",
                                     "hud",   "logo",  "font", "small_font", "buttons"};

using Rgba = std::tuple<int, int, int, int>;

// A pixel of an image, (x, y) from the picture's top-left corner as a drawing program shows
// it (images keep their bottom row first).
Rgba texel(const Image& image, int x, int y) {
    const uint8_t* p = &image.pixels[((image.height - 1 - y) * image.width + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

// Ids the level gives its objects.
constexpr int32_t title_id = 3000;
constexpr int32_t start_button_id = 4001;
constexpr int32_t quit_button_id = 4002;

}  // namespace

// Runs the real sample game: its folder is copied into the test's fresh game folder.
class SampleGameTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        fs::copy(fs::path(VELDEN_GAME_DIR) / "Data", fs::path(dir) / "Data",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }

    Level& level() { return *Game::instance().level; }

    // Every object of the level, with the layer holding it; wrappers are looked through.
    template <class T>
    std::vector<std::pair<const Layer*, T*>> objects() {
        std::vector<std::pair<const Layer*, T*>> found;
        for (const auto& layer : level().layers) {
            for (size_t i = 0; i < layer->size(); ++i) {
                GameObject* object = layer->object_at(i);
                if (auto* hud = dynamic_cast<Hud*>(object))
                    object = hud->target.get();
                else if (auto* morph = dynamic_cast<RemorfableSprite*>(object);
                         morph && !std::is_same_v<T, RemorfableSprite>)
                    object = morph->target.get();
                if (T* t = dynamic_cast<T*>(object))
                    found.push_back({layer.get(), t});
            }
        }
        return found;
    }

    static Texture* texture(const std::string& name) {
        return TextureRegistry::instance().find(name);
    }

    // A key goes down for one frame, then up for one frame.
    void tap(int32_t key) {
        keyboard.press(key);
        tick();
        keyboard.release(key);
        tick();
    }
    // Leaves the title menu with its START button, which has the focus at start-up.
    void play() {
        ASSERT_EQ(Game::instance().state, GameState::menu);
        tap(vk::enter);
        ASSERT_EQ(Game::instance().state, GameState::running);
    }
};

TEST_F(SampleGameTest, ItsScriptsRunWithoutErrors) {
    // The engine skips a failing script silently. Running the files that the start-up script
    // runs, in its order, straight through the interpreter shows their errors.
    std::ifstream in(fs::path(VELDEN_GAME_DIR) / "Data/Scripts/INIT_test.lua");
    const std::string init((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> files;
    for (size_t at = init.find("do_file("); at != std::string::npos;
         at = init.find("do_file(", at + 1)) {
        const size_t open = init.find_first_of("\"'", at);
        const size_t close = open == std::string::npos ? open : init.find(init[open], open + 1);
        if (close != std::string::npos)
            files.push_back(init.substr(open + 1, close - open - 1));
    }
    ASSERT_GE(files.size(), 2u);
    start("-- the game's own scripts run below");
    for (const std::string& file : files)
        EXPECT_EQ(lua("dofile('" + file + "')"), "") << file;
    ASSERT_TRUE(Game::instance().level);
    EXPECT_GT(Game::instance().level->layer_count(), 0);
    tick(3);
}

TEST_F(SampleGameTest, RegistersAndUploadsEveryPicture) {
    start();
    const Renderer* renderer = Game::instance().renderer.get();
    for (const char* name : picture_names) {
        const Texture* t = texture(name);
        ASSERT_NE(t, nullptr) << name;
        ASSERT_NE(t->image(), nullptr) << name << " did not decode";
        EXPECT_NE(t->handle_for(renderer), 0) << name << " was not uploaded";
    }
    // Backdrops repeat sideways, and repeating pictures have power-of-two sizes.
    for (const char* name : {"clouds", "mountains", "hills"}) {
        const Texture* t = texture(name);
        EXPECT_EQ(t->wrap_s, 1) << name;
        const int32_t w = t->image()->width, h = t->image()->height;
        EXPECT_EQ(w & (w - 1), 0) << name;
        EXPECT_EQ(h & (h - 1), 0) << name;
    }
    // The scripts compute texture coordinates from the sizes they declare: those must be the
    // pictures' real sizes.
    lua_State* L = this->L();
    lua_getglobal(L, "pictures");
    ASSERT_TRUE(lua_istable(L, -1));
    int declared = 0;
    for (lua_pushnil(L); lua_next(L, -2); lua_pop(L, 1)) {
        const std::string name = lua_tostring(L, -2);
        lua_getfield(L, -1, "w");
        lua_getfield(L, -2, "h");
        const Texture* t = texture(name);
        ASSERT_TRUE(t && t->image()) << name;
        EXPECT_EQ(lua_tointeger(L, -2), t->image()->width) << name;
        EXPECT_EQ(lua_tointeger(L, -1), t->image()->height) << name;
        lua_pop(L, 2);
        ++declared;
    }
    lua_pop(L, 1);
    EXPECT_GE(declared, static_cast<int>(std::size(picture_names)));
}

TEST_F(SampleGameTest, AnimationsAreCutFromTheirPictures) {
    start();
    struct Case {
        const char* animation;
        const char* picture;
        size_t frames;
        float frame_width;  // in texture coordinates
    };
    for (Case c : {Case{"hero_walk", "hero", 8, 32.0f / 256}, Case{"coin_spin", "coin", 8, 0.125f},
                   Case{"torch_flame", "torch", 8, 0.125f}, Case{"hero_idle", "hero", 4, 0.125f}}) {
        const Animation* a = AnimationRegistry::instance().find(c.animation);
        ASSERT_NE(a, nullptr) << c.animation;
        ASSERT_EQ(a->frames.size(), c.frames) << c.animation;
        float previous_left = -1;
        for (const Animation::Frame& f : a->frames) {
            ASSERT_NE(f.subtexture, nullptr);
            EXPECT_EQ(f.subtexture->texture, texture(c.picture)) << c.animation;
            EXPECT_GT(f.duration, 0.0f);
            const Vector2* k = f.subtexture->corners;
            EXPECT_FLOAT_EQ(k[1].x - k[0].x, c.frame_width) << c.animation;
            // Frames run left to right inside the picture.
            EXPECT_GT(k[0].x, previous_left);
            previous_left = k[0].x;
            for (int i = 0; i < 4; ++i) {
                EXPECT_GE(k[i].x, 0.0f);
                EXPECT_LE(k[i].x, 1.0f);
                EXPECT_GE(k[i].y, 0.0f);
                EXPECT_LE(k[i].y, 1.0f);
            }
        }
    }
}

TEST_F(SampleGameTest, BuildsTheLevelItsLayersAndItsKindsOfSprite) {
    start();
    ASSERT_TRUE(Game::instance().level);
    ASSERT_GE(level().layer_count(), 6);
    EXPECT_TRUE(level().camera_binder);

    // The sky is at the back and does not move with the camera.
    const Layer& sky = *level().layers.front();
    EXPECT_EQ(sky.parallax, (Vector2{0, 0}));
    int additive = 0, world = 0, far = 0, front = 0;
    for (const auto& layer : level().layers) {
        additive += layer->blend.dst_color == BlendState::additive().dst_color;
        world += layer->parallax == Vector2{1, 1};
        far += layer->parallax.x > 0 && layer->parallax.x < 1;
        front += layer->parallax.x > 1;
    }
    EXPECT_GE(additive, 1);
    EXPECT_GE(world, 1);
    EXPECT_GE(far, 2);  // at least two depths of backdrop
    EXPECT_GE(front, 1);

    // Drifting clouds: horizontal scrolling sprites with a speed.
    int scrolling = 0;
    for (auto [layer, s] : objects<ScrollingSprite>())
        scrolling += s->scroll_mode == ScrollingSprite::horizontal && s->scroll_speed > 0;
    EXPECT_GE(scrolling, 1);
    // Animated sprites in the world, every one with its animation.
    int animated = 0;
    for (auto [layer, s] : objects<AnimatedSprite>()) {
        EXPECT_TRUE(s->animation);
        animated += layer->parallax == Vector2{1, 1};
    }
    EXPECT_GE(animated, 2);
    // Looping key-frame animations.
    int looping = 0;
    for (auto [layer, m] : objects<RemorfableSprite>())
        looping += m->looping && m->key_frames.size() >= 2 && m->target;
    EXPECT_GE(looping, 1);
    // HUD elements, drawn with parallax 1 so they keep their place on the screen.
    int huds = 0;
    for (const auto& layer : level().layers) {
        for (size_t i = 0; i < layer->size(); ++i) {
            if (auto* hud = dynamic_cast<Hud*>(layer->object_at(i))) {
                EXPECT_TRUE(hud->target);
                EXPECT_EQ(layer->parallax, (Vector2{1, 1}));
                ++huds;
            }
        }
    }
    EXPECT_GE(huds, 1);
    EXPECT_GE(objects<TexturedSprite>().size(), 20u);
}

TEST_F(SampleGameTest, FirstFrameShowsTheSkyAtTheTopAndTheGroundAtTheBottom) {
    start();
    tick();
    // The top of the sky picture is flat: the screen's top edge shows exactly that colour.
    const Image& sky = *texture("sky")->image();
    const auto [sr, sg, sb, sa] = texel(sky, 0, 0);
    for (int x : {400, 640, 900}) {
        Pixel p = pixel(x, 715);
        EXPECT_EQ((Rgba{p.r, p.g, p.b, 255}), (Rgba{sr, sg, sb, sa})) << "x " << x;
    }
    // Along the bottom edge the ground's tiles show: each pixel is one of the colours of the
    // terrain tiles (the top half of the tile picture), drawn opaque and untinted.
    const Image& tiles = *texture("tiles")->image();
    std::set<Rgba> terrain;
    for (int y = 0; y < tiles.height / 2; ++y)
        for (int x = 0; x < tiles.width; ++x)
            if (std::get<3>(texel(tiles, x, y)) == 255)
                terrain.insert(texel(tiles, x, y));
    for (int x : {360, 500, 672, 800, 950}) {
        Pixel p = pixel(x, 10);
        EXPECT_TRUE(terrain.count(Rgba{p.r, p.g, p.b, 255})) << "x " << x << ": " << p;
    }
}

TEST_F(SampleGameTest, CloudsDriftTheHeroLandsAndTheTitleFadesAway) {
    start();
    play();
    std::vector<std::pair<ScrollingSprite*, float>> clouds;
    for (auto [layer, s] : objects<ScrollingSprite>())
        clouds.push_back({s, s->tex_coords[0].x});
    ASSERT_FALSE(clouds.empty());
    ASSERT_NE(level().find_by_id(title_id), nullptr);

    tick(100);  // one second
    for (auto [s, u] : clouds)
        EXPECT_NEAR(s->tex_coords[0].x - u, s->scroll_speed, 1e-4f);
    // The hero has come down on the meadow's floor and stands there.
    ASSERT_EQ(lua("x, y, floor = lf:get_player_x(), lf:get_player_y(), GROUND_Y"), "");
    EXPECT_EQ(lua_number("y"), lua_number("floor"));
    EXPECT_EQ(Game::instance().player->state, Player::standing);
    EXPECT_NE(level().find_by_id(title_id), nullptr);

    tick(500);  // the title is gone after a few seconds; the rest keeps going
    EXPECT_EQ(level().find_by_id(title_id), nullptr);
    ASSERT_EQ(lua("y = lf:get_player_y()"), "");
    EXPECT_EQ(lua_number("y"), lua_number("floor"));
}

TEST_F(SampleGameTest, EscapeEndsTheGame) {
    start();
    tick(2);
    EXPECT_EQ(Game::instance().state, GameState::menu);
    keyboard.press(vk::escape);
    tick();
    EXPECT_EQ(Game::instance().state, GameState::quit);
}

TEST_F(SampleGameTest, ThePictureOfFontHasOneMarkerRunPerLetterFromSpaceToTilde) {
    // The engine cuts "font" into letters along marker runs on the bottom row of each band of
    // 32 rows; the picture must give exactly the characters 32 to 126, each letter's pixels
    // inside its run's columns.
    std::unique_ptr<Image> image =
        PngLoader::load(std::string(VELDEN_GAME_DIR) + "/Data/Images/font.png");
    ASSERT_TRUE(image);
    const int band = 32;
    ASSERT_GE(image->height, band);
    std::vector<std::vector<std::pair<int, int>>> runs;  // per band: first and last column
    for (int k = 0; k < image->height / band; ++k) {
        const int marker = (k + 1) * band - 1;
        std::vector<std::pair<int, int>> band_runs;
        for (int x = 0; x < image->width; ++x) {
            if (std::get<3>(texel(*image, x, marker)) == 0)
                continue;
            int last = x;
            while (last + 1 < image->width && std::get<3>(texel(*image, last + 1, marker)) != 0)
                ++last;
            band_runs.push_back({x, last});
            x = last + 1;
        }
        // Outside the runs a band has no letter pixels.
        for (int y = k * band; y < marker; ++y) {
            for (int x = 0; x < image->width; ++x) {
                bool in_run = false;
                for (auto [a, b] : band_runs)
                    in_run |= x >= a && x <= b;
                if (!in_run) {
                    EXPECT_EQ(std::get<3>(texel(*image, x, y)), 0) << x << ", " << y;
                }
            }
        }
        runs.push_back(band_runs);
    }
    std::vector<std::tuple<int, int, int>> letters;  // band, first, last
    for (size_t k = 0; k < runs.size(); ++k)
        for (auto [a, b] : runs[k])
            letters.push_back({static_cast<int>(k), a, b});
    ASSERT_EQ(letters.size(), 95u);
    // Space is blank; every other letter has ink.
    for (size_t i = 0; i < letters.size(); ++i) {
        auto [k, a, b] = letters[i];
        int ink = 0;
        for (int y = k * band; y < (k + 1) * band - 1; ++y)
            for (int x = a; x <= b; ++x)
                ink += std::get<3>(texel(*image, x, y)) != 0;
        if (i == 0) {
            EXPECT_EQ(ink, 0);
        } else {
            EXPECT_GT(ink, 0) << "character " << i + 32;
        }
    }
    // Proportional: "i" is narrower than "m".
    auto width = [&](char c) {
        auto [k, a, b] = letters[c - 32];
        return b - a + 1;
    };
    EXPECT_LT(width('i'), width('m'));
}

TEST_F(SampleGameTest, ThePictureOfSmallFontIsAGridOfSpaceToUnderscore) {
    std::unique_ptr<Image> image =
        PngLoader::load(std::string(VELDEN_GAME_DIR) + "/Data/Images/small_font.png");
    ASSERT_TRUE(image);
    // 8 x 8 cells, 32 to a row, 64 letters: exactly two rows.
    ASSERT_EQ(image->width, 256);
    ASSERT_EQ(image->height, 16);
    for (int cell = 0; cell < 64; ++cell) {
        int ink = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                ink += std::get<3>(texel(*image, (cell % 32) * 8 + x, (cell / 32) * 8 + y)) != 0;
        if (cell == 0) {
            EXPECT_EQ(ink, 0);
        } else {
            EXPECT_GT(ink, 0) << "character " << cell + 32;
        }
    }
}

TEST_F(SampleGameTest, TheMeadowHasGroundToWalkOnAndCollidersInTheDebugView) {
    start();
    ASSERT_TRUE(Game::instance().level);
    const SegmentStripList& strips = level().segment_strips;
    ASSERT_GE(strips.size(), 3u);
    // The floor runs from the meadow's west end to the first gap, past the first screen; the
    // ledges carry the codes 1 to 4, each extended by add_segment_with_code to two segments.
    EXPECT_EQ(strips[0]->segments.front().start.x, -640.0f);
    ASSERT_EQ(lua("gap = MEADOW.left + (MEADOW.ground:find(' ') - 1) * TILE_SIZE"), "");
    EXPECT_EQ(strips[0]->segments.back().end.x, static_cast<float>(lua_number("gap")));
    EXPECT_GT(lua_number("gap"), 640.0);
    for (int32_t code : {1, 2, 3, 4}) {
        SegmentStrip* ledge = find_strip_with_code(strips, code);
        ASSERT_NE(ledge, nullptr) << code;
        EXPECT_EQ(ledge->segments.size(), 2u);
    }
    // Feet half a unit below the floor are caught by it, and walking keeps them on it.
    const float floor_y = strips[0]->segments.front().start.y;
    EXPECT_EQ(find_landing_strip(strips, {-600, floor_y - 0.5f}), strips[0].get());
    WalkResult walk = walk_along(*strips[0], {-600, floor_y - 0.5f}, 300);
    EXPECT_FALSE(walk.fell);
    EXPECT_FLOAT_EQ(walk.position.y, floor_y);

    ASSERT_GE(level().colliders.size(), 3u);
    for (const auto& c : level().colliders)
        EXPECT_NE(c->shape, nullptr);
    // The crate's collider shows as translucent blue over the crate once the view is on.
    const Collider* crate = find_collider(level().colliders, 1);
    ASSERT_NE(crate, nullptr);
    const int x = static_cast<int>(crate->transform.position.x) + 640;
    const int y = static_cast<int>(crate->transform.position.y) + 360;
    tick();
    const Pixel before = pixel(x, y);
    ASSERT_EQ(lua("LuaFunctions():draw_segments(true)"), "");
    tick();
    const Pixel after = pixel(x, y);
    EXPECT_GT(after.b, before.b);
    EXPECT_LT(after.r, before.r);
}

TEST_F(SampleGameTest, TheTitleMenuComesFirstAndTheArrowsMoveItsFocus) {
    start();
    EXPECT_EQ(Game::instance().state, GameState::menu);
    MenuInput& menu = *Game::instance().menu;
    ASSERT_TRUE(menu.focused);
    EXPECT_EQ(menu.focused->id, start_button_id);
    auto* start_button = dynamic_cast<Button*>(level().find_by_id(start_button_id));
    auto* quit_button = dynamic_cast<Button*>(level().find_by_id(quit_button_id));
    ASSERT_TRUE(start_button && quit_button);
    // The HUD waits, hidden and still, until play begins.
    const Layer& hud = *level().layers[8];
    EXPECT_FALSE(hud.visible);
    EXPECT_TRUE(hud.frozen);

    // The buttons' left rims, on the screen: gold on the focused look, grey-blue on the other.
    const Image& art = *texture("buttons")->image();
    const auto [nr, ng, nb, na] = texel(art, 8, 4 + 12);
    const auto [fr, fg, fb, fa] = texel(art, 8, 32 + 4 + 12);
    ASSERT_NE((Rgba{nr, ng, nb, na}), (Rgba{fr, fg, fb, fa}));
    const Pixel normal{nr, ng, nb, 255}, focused{fr, fg, fb, 255};
    auto rims = [&] { return std::pair{pixel(529, 330), pixel(529, 260)}; };
    tick();
    EXPECT_EQ(rims(), (std::pair{focused, normal}));

    // Down and up both wrap between the two buttons; holding a key moves once.
    keyboard.press(vk::down);
    tick(5);
    keyboard.release(vk::down);
    tick();
    EXPECT_EQ(menu.focused.get(), quit_button);
    EXPECT_EQ(rims(), (std::pair{normal, focused}));
    tap(vk::down);
    EXPECT_EQ(menu.focused.get(), start_button);
    tap(vk::up);
    EXPECT_EQ(menu.focused.get(), quit_button);
    EXPECT_EQ(Game::instance().state, GameState::menu);
}

TEST_F(SampleGameTest, StartingFromTheMenuRemovesItAndPlaysTheSameLevel) {
    start();
    const Level* meadow = Game::instance().level.get();
    const Layer& menu_layer = *level().layers.back();
    EXPECT_EQ(menu_layer.parallax, (Vector2{0, 0}));
    EXPECT_GT(menu_layer.size(), 3u);
    tap(vk::down);
    tap(vk::up);
    tap(vk::enter);
    EXPECT_EQ(Game::instance().state, GameState::running);
    EXPECT_EQ(Game::instance().level.get(), meadow);
    // Every object of the menu is gone, the pressed button too, and with it the focus.
    EXPECT_EQ(menu_layer.size(), 0u);
    EXPECT_FALSE(Game::instance().menu->focused);
    EXPECT_TRUE(level().layers[8]->visible);
    EXPECT_FALSE(level().layers[8]->frozen);
    EXPECT_NE(level().find_by_id(title_id), nullptr);
    // Menu keys do nothing in play.
    tap(vk::enter);
    EXPECT_EQ(Game::instance().state, GameState::running);
}

TEST_F(SampleGameTest, QuitInTheMenuEndsTheGame) {
    start();
    tap(vk::down);
    keyboard.press(vk::enter);
    tick();
    EXPECT_EQ(Game::instance().state, GameState::quit);
}
// Escape in play pauses: the level stands still under a menu of RESUME, TITLE and QUIT. A held
// Escape counts once. RESUME (or Escape) plays on; TITLE goes back to the title menu over a new
// meadow, where Escape ends the game.
TEST_F(SampleGameTest, EscapePausesPlayAndThePauseMenuResumesOrGoesBackToTheTitle) {
    start();
    play();
    Player& hero = *Game::instance().player;
    keyboard.press(vk::right);
    tick(100);
    const Level* meadow = Game::instance().level.get();
    keyboard.press(vk::escape);
    tick(5);
    keyboard.release(vk::escape);
    tick();
    ASSERT_EQ(Game::instance().state, GameState::menu);
    MenuInput& menu = *Game::instance().menu;
    ASSERT_TRUE(menu.focused);
    EXPECT_EQ(menu.focused->id, 4101) << "RESUME";
    const Vector2 paused_at = hero.body.transform.position;
    ASSERT_EQ(lua("time = lf:get_time()"), "");
    const double time = lua_number("time");
    tick(150);
    EXPECT_EQ(hero.body.transform.position, paused_at) << "the right arrow is still held";
    ASSERT_EQ(lua("time = lf:get_time()"), "");
    EXPECT_EQ(lua_number("time"), time);

    // Escape again resumes: the hero walks on.
    tap(vk::escape);
    ASSERT_EQ(Game::instance().state, GameState::running);
    tick(50);
    EXPECT_GT(hero.body.transform.position.x, paused_at.x + 30.0f);
    keyboard.release(vk::right);

    // Paused again, down to TITLE and Return: the title menu over a new meadow, the hero at
    // its start.
    tap(vk::escape);
    ASSERT_EQ(Game::instance().state, GameState::menu);
    tap(vk::down);
    ASSERT_TRUE(menu.focused);
    EXPECT_EQ(menu.focused->id, 4102) << "TITLE";
    tap(vk::enter);
    tick();
    EXPECT_EQ(Game::instance().state, GameState::menu);
    EXPECT_NE(Game::instance().level.get(), meadow);
    ASSERT_TRUE(menu.focused);
    EXPECT_EQ(menu.focused->id, start_button_id);
    ASSERT_EQ(lua("x, start_x = lf:get_player_x(), HERO.start_x"), "");
    EXPECT_EQ(lua_number("x"), lua_number("start_x"));
    keyboard.press(vk::escape);
    tick();
    EXPECT_EQ(Game::instance().state, GameState::quit);
}

TEST_F(SampleGameTest, CoinGatesTakeTheCoinsAnotherGateTouches) {
    start();
    // A gate around every coin, with the coin's id, belonging to the coins' group.
    std::vector<int32_t> coin_ids;
    for (Trigger* t : Game::instance().triggers->triggers()) {
        auto* gate = dynamic_cast<GateTrigger*>(t);
        if (gate && gate->belong_to.contains("coin")) {
            EXPECT_NE(gate->shape, nullptr);
            coin_ids.push_back(gate->id);
        }
    }
    ASSERT_EQ(lua("count = #coin_places"), "");
    ASSERT_EQ(coin_ids.size(), static_cast<size_t>(lua_number("count")));
    EXPECT_GE(coin_ids.size(), 25u) << "coins all along the meadow";
    for (int32_t id : coin_ids)
        EXPECT_NE(level().find_by_id(id), nullptr) << id;

    // Until the hero carries one, a gate of the test's own stands in for its trigger: it lets
    // the coins' group use it.
    ASSERT_EQ(lua(R"(
        local first = coin_places[1]
        lf:create_trigger('taker', 0, '', '', first.x, first.y)
        lf:create_circle('taker', 0, 0, 10)
        lf:trigger_shape('taker', 0, 'taker')
        lf:trigger_add_group_can_use_me('taker', 0, 'coin')
        lf:trigger_upload('taker', 999)
        second_x, second_y = coin_places[2].x, coin_places[2].y
    )"),
              "");
    GateTrigger* taker = nullptr;
    for (Trigger* t : Game::instance().triggers->triggers())
        if (t->id == 999)
            taker = dynamic_cast<GateTrigger*>(t);
    ASSERT_NE(taker, nullptr);
    tick();
    const int32_t first = coin_ids[0], second = coin_ids[1];
    ASSERT_EQ(lua("taken = coins_taken.count"), "");
    EXPECT_EQ(lua_number("taken"), 1);
    // The coin's sprite and its glow are gone; the other coins stay.
    EXPECT_EQ(level().find_by_id(first), nullptr);
    EXPECT_NE(level().find_by_id(second), nullptr);

    taker->transform.position = {static_cast<float>(lua_number("second_x")),
                                 static_cast<float>(lua_number("second_y"))};
    tick(10);
    EXPECT_EQ(level().find_by_id(second), nullptr);
    // Back at the first coin's place: it is not taken twice.
    ASSERT_EQ(lua("taker_x = coin_places[1].x taker_y = coin_places[1].y"), "");
    taker->transform.position = {static_cast<float>(lua_number("taker_x")),
                                 static_cast<float>(lua_number("taker_y"))};
    tick(60);
    ASSERT_EQ(lua("taken = coins_taken.count"), "");
    EXPECT_EQ(lua_number("taken"), 2);
    EXPECT_EQ(lua("assert(coins_taken[" + std::to_string(first) + "])"), "");
}

TEST_F(SampleGameTest, TheSignalLampChangesColourEveryTwoSeconds) {
    start();
    // The lamp's disc on the screen: (-560, GROUND_Y + 78) in the world.
    ASSERT_EQ(lua("lamp_sx = 640 + lamp.x lamp_sy = 360 + lamp.y"), "");
    const int x = static_cast<int>(lua_number("lamp_sx")),
              y = static_cast<int>(lua_number("lamp_sy"));
    auto timed = [] {
        for (Trigger* t : Game::instance().triggers->triggers())
            if (auto* timed = dynamic_cast<TimedTrigger*>(t); timed && timed->repeat)
                return timed;
        return static_cast<TimedTrigger*>(nullptr);
    };
    ASSERT_NE(timed(), nullptr);
    EXPECT_EQ(timed()->timer.period, 2.0f);

    // Green, amber, red, green again: a frame in the middle of each two-second stretch.
    std::vector<Pixel> seen;
    tick(100);
    seen.push_back(pixel(x, y));
    for (int i = 0; i < 3; ++i) {
        tick(200);
        seen.push_back(pixel(x, y));
    }
    EXPECT_GT(seen[0].g, seen[0].r + 40) << seen[0];
    EXPECT_GT(seen[1].r, seen[1].b + 80) << seen[1];
    EXPECT_GT(seen[1].g, seen[1].b + 40) << seen[1];
    EXPECT_GT(seen[2].r, seen[2].g + 60) << seen[2];
    EXPECT_EQ(seen[3], seen[0]);

    // A new level takes the meadow's gates; the lamp's timer goes on, and its script leaves the
    // new level alone.
    ASSERT_EQ(lua(R"(
        current_level = 'cave'
        lf:create_level(0, 0, 0, 0)
        for i = 0, 8 do lf:create_layer(1, 1, 0) end
    )"),
              "");
    ASSERT_NE(timed(), nullptr);
    // Only timers are left (the lamp's).
    for (Trigger* t : Game::instance().triggers->triggers())
        EXPECT_NE(dynamic_cast<TimedTrigger*>(t), nullptr);
    tick(250);
    for (const auto& layer : level().layers)
        EXPECT_EQ(layer->size(), 0u);
}

TEST_F(SampleGameTest, TheMeadowHasMusicBirdsongAndSoundsForCoinsAndFootsteps) {
    start();
    MusicEngine& music = *Game::instance().music;
    ASSERT_TRUE(music.ready());
    // The theme waits for the first frames to be on screen, then plays.
    EXPECT_EQ(music.track_names(), "");
    tick(5);
    EXPECT_EQ(music.track_names(), "meadow_theme.wav");
    // The title menu's focus click (a tenth of a second) is over; the theme plays on.
    SDL_Delay(300);
    EXPECT_EQ(Mix_Playing(-1), 1);
    int theme = 0;
    while (theme < MusicEngine::max_channels && !Mix_Playing(theme))
        ++theme;

    // The birds sing within a few seconds, and again.
    const auto birds = objects<SoundEffect>();
    ASSERT_EQ(birds.size(), 1u);
    EXPECT_TRUE(birds.front().second->repeat);
    int sang = 0;
    for (int frame = 0; frame < 400 && sang < 2; ++frame) {
        tick(1, 0.025f);
        if (Mix_Playing(-1) > 1) {
            ++sang;
            for (int channel = 0; channel < MusicEngine::max_channels; ++channel)
                if (channel != theme)
                    Mix_HaltChannel(channel);
        }
    }
    EXPECT_EQ(sang, 2);

    // Sounds waiting for their owners: footsteps pick among three steps, the coin has one.
    auto* steps =
        dynamic_cast<SoundVarietyCollection*>(TempLists::instance().sounds.find("footsteps"));
    ASSERT_NE(steps, nullptr);
    EXPECT_EQ(steps->paths.size(), 3u);
    const Sound* coin = TempLists::instance().sounds.find("coin_pickup");
    ASSERT_NE(coin, nullptr);
    EXPECT_EQ(coin->path, "Data/Sounds/coin.wav");

    // Every file the scripts name decodes.
    ASSERT_EQ(lua(R"(
        all_paths = {}
        for _, v in pairs(SOUND) do
            for _, path in ipairs(type(v) == "table" and v or { v }) do
                all_paths[#all_paths + 1] = path
            end
        end
    )"),
              "");
    lua_State* L = this->L();
    lua_getglobal(L, "all_paths");
    std::vector<std::string> paths;
    for (int i = 1; lua_rawgeti(L, -1, i), lua_isstring(L, -1); ++i) {
        paths.push_back(lua_tostring(L, -1));
        lua_pop(L, 1);
    }
    lua_pop(L, 2);
    EXPECT_EQ(paths.size(), 7u);
    for (const std::string& path : paths) {
        Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
        EXPECT_NE(chunk, nullptr) << path;
        if (chunk)
            Mix_FreeChunk(chunk);
    }

    // The sound script's errors show when it runs straight through the interpreter; built
    // again, the level still plays one copy of its music.
    EXPECT_EQ(lua("dofile('Data/Scripts/levels/meadow_audio.lua')"), "");
    tick(5);
    EXPECT_EQ(music.track_names(), "meadow_theme.wav");
}

TEST_F(SampleGameTest, TorchesSmokeCoinsSparkleAndTheLevelKeepsItsScore) {
    start();
    // Smoke over both torches in the play layer, sparkles at every coin in the glow layer, and
    // the dust the hedgehog carries.
    ASSERT_EQ(lua("dust_id = ID.dust"), "");
    const auto dust_id = static_cast<int32_t>(lua_number("dust_id"));
    int smoke = 0, sparkles = 0, dust = 0;
    for (auto [layer, e] : objects<ParticleEmitter>()) {
        EXPECT_FALSE(e->particles.empty());
        EXPECT_NE(e->particle_template, nullptr);
        if (layer->blend.dst_color == BlendState::additive().dst_color)
            ++sparkles;
        else if (e->id == dust_id)
            ++dust;
        else
            ++smoke;
    }
    EXPECT_EQ(smoke, 2);
    EXPECT_EQ(dust, 1);
    // The dust goes where the walking hedgehog goes.
    play();
    tick(50);
    auto* hedgehog = dynamic_cast<MovingCreature*>(level().find_by_id(5003));
    auto* dust_emitter = dynamic_cast<ParticleEmitter*>(level().find_by_id(dust_id));
    ASSERT_TRUE(hedgehog && dust_emitter);
    const Vector2 feet = hedgehog->body.transform.position;
    EXPECT_EQ(dust_emitter->transform.position,
              (Vector2{feet.x, feet.y + hedgehog->body.vertical_offset}));
    ASSERT_EQ(lua("count = #coin_places"), "");
    EXPECT_EQ(sparkles, lua_number("count"));

    // The smoke shows above the left torch (world x -430), above its light and the mist:
    // there the picture is still but for the smoke.
    auto column = [&] {
        std::vector<Pixel> pixels;
        for (int y = 285; y < 340; y += 3)
            for (int x = 204; x <= 216; x += 4)
                pixels.push_back(pixel(x, y));
        return pixels;
    };
    auto differing = [](const std::vector<Pixel>& a, const std::vector<Pixel>& b) {
        int n = 0;
        for (size_t i = 0; i < a.size(); ++i)
            n += a[i] != b[i];
        return n;
    };
    tick(300);
    const std::vector<Pixel> smoky = column();
    ASSERT_EQ(lua("lf:remove_gameobject(ID.smoke)"), "");
    tick();
    const std::vector<Pixel> clear = column();
    tick();
    EXPECT_EQ(differing(clear, column()), 0);  // nothing else moves there
    EXPECT_GE(differing(smoky, clear), 10);

    // The level's name and time; coins taken quickly build a combo, a slow one starts over.
    EXPECT_EQ(lua_string("result"), "(nil)");
    ASSERT_EQ(lua("result = lf:level_name()"), "");
    EXPECT_EQ(lua_string("result"), "Meadow");
    ASSERT_EQ(lua("result = lf:get_time()"), "");
    EXPECT_EQ(lua_number("result"), 3);
    ASSERT_EQ(lua("coin_taken() coin_taken() coin_taken()"), "");
    ASSERT_EQ(lua("result = lf:get_combo() * 1000 + level_points()"), "");
    EXPECT_EQ(lua_number("result"), 3 * 1000 + 10 + 10 + 20);
    EXPECT_EQ(lua("result = level_grade()"), "");
    EXPECT_EQ(lua_string("result"), "failed");
    tick(450);
    ASSERT_EQ(lua("coin_taken()\nresult = lf:get_combo() * 1000 + level_points()"), "");
    EXPECT_EQ(lua_number("result"), 1 * 1000 + 40 + 10);
    EXPECT_EQ(lua("result = level_grade()"), "");
    EXPECT_EQ(lua_string("result"), "bronze");
    ASSERT_EQ(lua("result = lf:get_max_combo()"), "");
    EXPECT_EQ(lua_number("result"), 3);

    // The effects script runs without errors (the engine would skip a failing one silently).
    EXPECT_EQ(lua("dofile('Data/Scripts/levels/meadow_effects.lua')"), "");
}

TEST_F(SampleGameTest, TheHudTypesTheLevelNameOutWithTheSmallFont) {
    start();
    ASSERT_TRUE(Game::instance().find_font("font"));
    ASSERT_TRUE(Game::instance().find_font("small_font"));
    TextSpitter* name = nullptr;
    for (auto [layer, s] : objects<TextSpitter>())
        if (!s->lines.empty() && s->lines[0] == lua_string("LEVEL_NAME"))
            name = s;
    ASSERT_TRUE(name);
    ASSERT_EQ(name->lines.size(), 1u);
    EXPECT_EQ(name->lines[0], lua_string("LEVEL_NAME"));
    ASSERT_TRUE(name->font);
    EXPECT_EQ(name->font->find('M')->texture, texture("small_font"));

    // Gold pixels inside the text's box on the screen (the camera stays at the origin).
    const Vector2 pos = name->transform.position;
    const int x0 = 640 + static_cast<int>(pos.x + name->corners[0].x);
    const int x1 = 640 + static_cast<int>(pos.x + name->corners[2].x);
    const int y0 = 360 + static_cast<int>(pos.y + name->corners[0].y);
    const int y1 = 360 + static_cast<int>(pos.y + name->corners[2].y);
    auto gold = [&] {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; x += 1) {
                Pixel p = pixel(x, y);
                n += p.r > 230 && p.g > 190 && p.g < 240 && p.b < 130;
            }
        return n;
    };
    tick();
    EXPECT_EQ(gold(), 0) << "the HUD waits behind the title menu";
    play();
    tick(50, 0.02f);  // one second: every letter is out
    EXPECT_EQ(name->letters.size(), lua_string("LEVEL_NAME").size());
    EXPECT_GT(gold(), 100);
}

TEST_F(SampleGameTest, TheSignpostTalksAndAsksAndTheAnswerPaintsTheSky) {
    start();
    play();
    // What the signpost's gate runs when a talker walks up to it.
    lua("lf:do_file('Data/Scripts/triggers/sign_talk.lua')");
    EXPECT_EQ(Game::instance().state, GameState::dialog);
    tick(60, 0.02f);  // bubbles faded in, texts typed out
    ASSERT_TRUE(Game::instance().dialog);
    ASSERT_EQ(Game::instance().dialog->active_lines.size(), 1u);
    // A white bubble with dark letters in it.
    const SpeechBubble* bubble = Game::instance().dialog->active_lines[0].bubble.get();
    ASSERT_TRUE(bubble);
    const int left = 640 + static_cast<int>(bubble->transform.position.x + bubble->radius);
    const int bottom = 360 + static_cast<int>(bubble->transform.position.y + bubble->radius);
    int white = 0, dark = 0;
    for (int y = bottom; y < bottom + static_cast<int>(bubble->height); ++y) {
        for (int x = left; x < left + static_cast<int>(bubble->width); ++x) {
            const Pixel p = pixel(x, y);
            white += p.r > 240 && p.g > 240 && p.b > 240;
            dark += p.r < 80 && p.g < 80 && p.b < 80;
        }
    }
    EXPECT_GT(white, 1000);
    EXPECT_GT(dark, 300);

    const Pixel sky_before = pixel(640, 715);
    auto press = [&](int32_t vk) {
        keyboard.press(vk);
        tick(1, 0.02f);
        keyboard.release(vk);
        tick(30, 0.02f);
    };
    press(vk::space);
    ASSERT_TRUE(Game::instance().dialog);
    ASSERT_TRUE(Game::instance().dialog->open_question);
    press(vk::down);
    press(vk::up);  // back on "Yes"
    EXPECT_EQ(Game::instance().dialog->selected, 0);
    press(vk::space);
    const Pixel sky_after = pixel(640, 715);
    EXPECT_LT(sky_after.b, sky_before.b - 40) << "the evening sky is warmer";
    press(vk::space);
    EXPECT_FALSE(Game::instance().dialog);
    EXPECT_EQ(Game::instance().state, GameState::running);
}

TEST_F(SampleGameTest, TheHudCountsCoinsPointsAndTimeAsTheyChange) {
    start();
    play();
    // The lines the HUD shows now, by their first word.
    auto hud_lines = [&] {
        std::map<std::string, std::string> lines;
        for (auto [layer, s] : objects<TextSpitter>()) {
            if (s->lines.empty() || s->lines[0] == lua_string("LEVEL_NAME"))
                continue;
            const std::string& line = s->lines[0];
            lines[line.substr(0, line.find(' '))] = line;
        }
        return lines;
    };
    auto format = [](const char* pattern, int a, int b = 0) {
        char line[32];
        std::snprintf(line, sizeof line, pattern, a, b);
        return std::string(line);
    };
    tick(30);
    auto lines = hud_lines();
    ASSERT_EQ(lines.size(), 3u) << "coins, points and time, each written once";
    EXPECT_EQ(lines["00"], "00");
    EXPECT_EQ(lines["POINTS"], "POINTS     0");

    ASSERT_EQ(lua("coins_taken.count = 2\ncoin_taken()\ncoin_taken()"), "");
    tick(150, 0.02f);  // three seconds
    lines = hud_lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines["02"], "02");
    ASSERT_EQ(lua("result = level_points()"), "");
    const int points = static_cast<int>(lua_number("result"));
    EXPECT_GT(points, 0);
    EXPECT_EQ(lines["POINTS"], format("POINTS %5d", points));
    ASSERT_EQ(lua("result = lf:get_time()"), "");
    const int t = static_cast<int>(lua_number("result"));
    EXPECT_GE(t, 3);
    EXPECT_EQ(lines["TIME"], format("TIME   %2d:%02d", t / 60, t % 60));
}

TEST_F(SampleGameTest, TheLeverOpensTheGateTheHammerPoundsTheCannonFiresAndPlanksCrumble) {
    start();
    play();
    // The gate is shut and blocks: its collider is among the level's.
    auto* gate = dynamic_cast<Door*>(level().find_by_id(30));
    ASSERT_NE(gate, nullptr);
    EXPECT_TRUE(gate->closed());
    EXPECT_NE(find_collider(level().colliders, 10), nullptr);
    // A stand-in for the player's trigger, accepting the lever and the hazards, at the lever.
    ASSERT_EQ(lua(R"(
        lf:create_trigger('stand_in', 0, '', '', MACHINES.lever_x, GROUND_Y + 24)
        lf:create_circle('stand_in', 0, 0, 10)
        lf:trigger_shape('stand_in', 0, 'stand_in')
        lf:trigger_add_group_can_use_me('stand_in', 0, 'lever')
        lf:trigger_add_group_can_use_me('stand_in', 0, 'hazard')
        lf:trigger_upload('stand_in', 998)
        hammer_bottom = GROUND_Y + 30
        hammer_x, cannon_x = MACHINES.hammer_x, MACHINES.cannon_x
    )"),
              "");
    AreaTrigger* stand_in = nullptr;
    for (Trigger* t : Game::instance().triggers->triggers())
        if (t->id == 998)
            stand_in = dynamic_cast<AreaTrigger*>(t);
    ASSERT_NE(stand_in, nullptr);
    Game::instance().triggers->use_triggers(stand_in);
    EXPECT_FALSE(gate->closed());
    EXPECT_EQ(find_collider(level().colliders, 10), nullptr);
    Game::instance().triggers->use_triggers(stand_in);
    EXPECT_TRUE(gate->closed());
    EXPECT_NE(find_collider(level().colliders, 10), nullptr);

    // Under the hammer, the stand-in is hit once per stroke.
    auto* hammer = dynamic_cast<Hammer*>(level().find_by_id(32));
    ASSERT_NE(hammer, nullptr);
    ASSERT_TRUE(hammer->complete());
    stand_in->transform.position = {static_cast<float>(lua_number("hammer_x")),
                                    static_cast<float>(lua_number("hammer_bottom"))};
    float lowest = 0;
    for (int i = 0; i < 250; ++i) {
        tick();
        lowest = std::min(lowest, hammer->offset.y);
    }
    EXPECT_EQ(lowest, -160.0f);
    EXPECT_GE(lua_number("hazard_hits"), 1);

    // The cannon has fired balls flying left.
    auto* cannon = dynamic_cast<Shooter*>(level().find_by_id(33));
    ASSERT_NE(cannon, nullptr);
    ASSERT_TRUE(cannon->complete());
    std::vector<Bullet*> balls;
    for (auto& [layer, b] : objects<Bullet>())
        balls.push_back(b);
    ASSERT_GE(balls.size(), 1u);
    EXPECT_LT(balls[0]->graphics->target->transform.position.x, lua_number("cannon_x") - 20);

    // Four planks; a landing on the first makes it give way after its crumble.
    EXPECT_EQ(level().unstable_floors.count(), 4u);
    SegmentStrip* plank = find_strip_with_code(level().segment_strips, 21);
    ASSERT_NE(plank, nullptr);
    level().unstable_floors.landed_on(*plank);
    tick(55);
    EXPECT_TRUE(plank->enabled);
    tick(10);
    EXPECT_FALSE(plank->enabled);
    tick(310);
    EXPECT_TRUE(plank->enabled);
}

TEST_F(SampleGameTest, TheHeroIsThePlayerHeldStillByTheMenuAndWalkedByTheArrows) {
    start();
    ASSERT_NE(Game::instance().player, nullptr);
    Player& hero = *Game::instance().player;
    // The play layer holds the hero.
    const Layer& play_layer = *level().layers[5];
    bool held = false;
    for (size_t i = 0; i < play_layer.size(); ++i)
        held = held || play_layer.object_at(i) == &hero;
    EXPECT_TRUE(held);
    const Vector2 at_start = hero.body.transform.position;
    keyboard.press(vk::right);
    tick(50);
    EXPECT_EQ(hero.body.transform.position, at_start) << "the title menu holds the hero";
    keyboard.release(vk::right);
    tick();
    play();
    tick(100);
    ASSERT_TRUE(hero.body.ground);
    const float x0 = hero.body.transform.position.x;
    const float floor_y = hero.body.transform.position.y;
    keyboard.press(vk::right);
    tick(50);
    EXPECT_EQ(hero.state, Player::walking);
    EXPECT_GT(hero.body.transform.position.x, x0 + 50.0f);
    EXPECT_EQ(hero.body.transform.position.y, floor_y);
    EXPECT_EQ(hero.body.facing, 1);
    keyboard.release(vk::right);
    tick(100);
    EXPECT_EQ(hero.state, Player::standing);

    // Up jumps: off the floor and back on it.
    keyboard.press(vk::up);
    tick(20);
    EXPECT_GT(hero.body.transform.position.y, floor_y + 40.0f);
    keyboard.release(vk::up);
    tick(200);
    EXPECT_EQ(hero.body.transform.position.y, floor_y);
    EXPECT_EQ(hero.state, Player::standing);
}

TEST_F(SampleGameTest, TheCrateAndTheFenceBlockTheHeroAndItCanStandOnTheCrate) {
    start();
    play();
    Player& hero = *Game::instance().player;
    tick(100);
    const float floor_y = hero.body.transform.position.y;
    // Walking right from the start, the fence (its left side at -182) stops the hero.
    keyboard.press(vk::right);
    tick(400);
    EXPECT_LT(hero.body.transform.position.x + 20.0f, -182.0f + 0.5f);
    EXPECT_GT(hero.body.transform.position.x, -260.0f);
    EXPECT_EQ(hero.body.transform.position.y, floor_y);
    keyboard.release(vk::right);
    tick();

    // Put on the floor before the crate, it walks into the crate's left side (x = 500).
    ASSERT_EQ(lua("lf:creature_translation('hero', 0, 420, GROUND_Y)"), "");
    keyboard.press(vk::right);
    tick(300);
    EXPECT_LT(hero.body.transform.position.x + 20.0f, 500.0f + 0.5f);
    EXPECT_GT(hero.body.transform.position.x, 440.0f);
    keyboard.release(vk::right);
    // Dropped over the crate (at rest and off the floor, as after a level change), it comes to
    // stand on the crate's top.
    ASSERT_EQ(lua(R"(lf:reset_all_extra_for_level_change()
                     lf:creature_translation('hero', 0, 520, GROUND_Y + 100))"),
              "");
    tick(150);
    EXPECT_EQ(hero.body.transform.position.y, floor_y + 40.0f);
    EXPECT_EQ(hero.body.transform.position.x, 520.0f);
    EXPECT_EQ(hero.state, Player::standing);
}

TEST_F(SampleGameTest, TheHeroTakesACoinByJumpingIntoIt) {
    start();
    play();
    Player& hero = *Game::instance().player;
    // Under the first of the floor's coins.
    ASSERT_EQ(lua("lf:creature_translation('hero', 0, coin_places[8].x, GROUND_Y - 1)"), "");
    tick(20);
    ASSERT_EQ(lua("taken = coins_taken.count id = coin_places[8].id"), "");
    EXPECT_EQ(lua_number("taken"), 0);
    keyboard.press(vk::up);
    tick(60);
    keyboard.release(vk::up);
    tick(100);
    ASSERT_EQ(lua("taken = coins_taken.count"), "");
    EXPECT_EQ(lua_number("taken"), 1);
    EXPECT_EQ(level().find_by_id(static_cast<int32_t>(lua_number("id"))), nullptr);
    EXPECT_TRUE(hero.body.ground);
}

TEST_F(SampleGameTest, AHeroBelowTheFloorFallsIntoThePitAndComesBackAtTheStart) {
    start();
    play();
    Player& hero = *Game::instance().player;
    tick(50);
    ASSERT_EQ(lua("lf:creature_translation('hero', 0, 0, GROUND_Y - 60)"), "");
    ASSERT_EQ(lua("lf:add_player_trigger_to_manager()"), "");  // off the floor strip
    bool died = false;
    for (int i = 0; i < 300 && !died; ++i) {
        tick();
        died = hero.state == Player::dead;
    }
    EXPECT_TRUE(died);
    tick(150);
    ASSERT_EQ(lua("x, y, sx, floor = lf:get_player_x(), lf:get_player_y(), HERO.start_x, GROUND_Y"),
              "");
    EXPECT_EQ(lua_number("x"), lua_number("sx"));
    EXPECT_EQ(lua_number("y"), lua_number("floor"));
    EXPECT_EQ(hero.state, Player::standing);
}

TEST_F(SampleGameTest, CreaturesPatrolFleeAndStingAndDeathRestartsTheMeadow) {
    start();
    play();
    Player* hero = Game::instance().player.get();
    ASSERT_NE(hero, nullptr);
    const Level* meadow = Game::instance().level.get();
    const float ground = static_cast<float>(lua_number("GROUND_Y"));
    auto creature = [&](int32_t id) {
        return dynamic_cast<MovingCreature*>(level().find_by_id(id));
    };
    // Two wasps, a hedgehog and a rabbit, each driven by its AI.
    constexpr int32_t wasp = 5001, hedgehog = 5003, rabbit = 5004;
    for (int32_t id : {wasp, wasp + 1, hedgehog, rabbit})
        ASSERT_NE(creature(id), nullptr) << id;
    ASSERT_EQ(Game::instance().ai_states.size(), 4u);
    const Vector2 wasp_start = creature(wasp)->body.transform.position;

    // The hero walks right on the arrow key; the rabbit keeps away, the wasp flies its loop
    // and the hedgehog walks on the ground.
    keyboard.press(vk::right);
    tick(110);
    keyboard.release(vk::right);
    tick();
    const Vector2 h = hero->body.transform.position;
    ASSERT_EQ(lua("start_x = HERO.start_x"), "");
    EXPECT_GT(h.x, static_cast<float>(lua_number("start_x")) + 50);
    EXPECT_NEAR(h.y, ground, 0.5f);
    auto* flight = dynamic_cast<RunawayState*>(Game::instance().ai_states[3].get());
    ASSERT_NE(flight, nullptr);
    EXPECT_TRUE(flight->fleeing);
    EXPECT_NEAR(std::hypot(flight->target.x - h.x, flight->target.y - h.y), 350.0f, 5.0f);
    EXPECT_NE(creature(wasp)->body.transform.position, wasp_start);
    EXPECT_NEAR(creature(hedgehog)->body.transform.position.y, ground, 0.5f);

    // The HUD's health bar starts full.
    auto bar_width = [&] {
        auto* hud = dynamic_cast<Hud*>(level().layers[8]->find_by_id(2100));
        auto* fill = hud ? dynamic_cast<TexturedSprite*>(hud->target.get()) : nullptr;
        return fill ? fill->corners[1].x * 2 : 0.0f;
    };
    EXPECT_NEAR(bar_width(), 120.0f, 0.5f);

    // Standing on the hedgehog stings: health runs out and the hero dies.
    int frames = 0;
    for (; frames < 600 && hero->state != Player::dead; ++frames) {
        if (MovingCreature* hog = creature(hedgehog))
            hero->body.transform.position = hog->body.transform.position;
        tick();
        if (frames == 60) {
            EXPECT_LT(hero->health.hp, 1.0f);
            EXPECT_LT(bar_width(), 100.0f);
        }
    }
    ASSERT_EQ(hero->state, Player::dead);
    EXPECT_NEAR(frames * 0.01f, 1.0f / 0.6f, 0.2f);
    Ref<MovingCreature> stinger(creature(hedgehog));
    ASSERT_TRUE(stinger);
    tick(70);
    // A moment later the hero stands at the start again, whole, and the creatures start again
    // from their places with new AI; the meadow itself stays, coins and all.
    EXPECT_EQ(Game::instance().level.get(), meadow);
    EXPECT_EQ(Game::instance().player.get(), hero);
    EXPECT_NE(hero->state, Player::dead);
    EXPECT_EQ(hero->health.hp, hero->health.max);
    EXPECT_EQ(hero->body.transform.position.x, static_cast<float>(lua_number("start_x")));
    EXPECT_FALSE(stinger);
    EXPECT_NE(creature(hedgehog), nullptr);
    EXPECT_EQ(Game::instance().ai_states.size(), 4u);
    EXPECT_NEAR(bar_width(), 120.0f, 0.5f);
}

// With every call that names something absent reported, the game's scripts report nothing:
// through the menu, walking, taking coins, talking to the signpost, dying and coming back.
TEST_F(SampleGameTest, ItsScriptsNameNothingThatDoesNotExist) {
    setenv("VELDEN_SCRIPT_ERRORS", "2", 1);
    testing::internal::CaptureStderr();
    start();
    play();
    keyboard.press(vk::right);
    tick(150);
    keyboard.release(vk::right);
    keyboard.press(vk::left);
    tick(150);
    keyboard.release(vk::left);
    ASSERT_EQ(lua("coins_taken.count = 0\n"
                  "lf:creature_translation('hero', 0, coin_places[8].x, GROUND_Y - 1)\n"
                  "lf:creature_translation('hero', 0, SIGN.x, GROUND_Y)"),
              "");
    tick(60);
    for (int i = 0; i < 6; ++i) {
        keyboard.press(vk::space);
        tick(20);
        keyboard.release(vk::space);
        tick(20);
    }
    ASSERT_EQ(lua("lf:player_state(0)"), "");
    tick(150);
    const std::string reported = testing::internal::GetCapturedStderr();
    unsetenv("VELDEN_SCRIPT_ERRORS");
    EXPECT_EQ(reported, "");
    EXPECT_NE(Game::instance().player->state, Player::dead) << "back after dying";
}

// A player with a game controller, plugged in while the title menu shows. The pad is SDL's
// virtual joystick; its presses reach the game as SDL's controller events, taken between
// frames as in the frame loop.
TEST_F(SampleGameTest, AGamepadMovesTheMenuWalksJumpsAndPullsTheLeverAndUnpluggingLetsGo) {
    start();
    std::unique_ptr<VirtualPad> pad = VirtualPad::attach();
    ASSERT_TRUE(pad);
    auto frames = [&](int n) {
        for (int i = 0; i < n; ++i) {
            ASSERT_FALSE(EventPump::pump());
            tick();
        }
    };
    // Held for one frame, let go for the next.
    auto press = [&](int32_t input) {
        pad->set(input, true);
        frames(1);
        pad->set(input, false);
        frames(1);
    };
    frames(1);

    // The d-pad and the stick move the menu's focus; Start presses the focused button.
    MenuInput& menu = *Game::instance().menu;
    ASSERT_TRUE(menu.focused);
    EXPECT_EQ(menu.focused->id, start_button_id);
    const std::pair<int32_t, int32_t> moves[] = {{pad::dpad_down, quit_button_id},
                                                 {pad::left_stick_up, start_button_id},
                                                 {pad::left_stick_down, quit_button_id},
                                                 {pad::dpad_up, start_button_id}};
    for (auto [input, focused] : moves) {
        press(input);
        ASSERT_TRUE(menu.focused) << PadMap::name(input);
        EXPECT_EQ(menu.focused->id, focused) << PadMap::name(input);
    }
    EXPECT_EQ(Game::instance().state, GameState::menu);
    press(pad::start);
    ASSERT_EQ(Game::instance().state, GameState::running);

    // The stick walks the hero.
    Player& hero = *Game::instance().player;
    frames(100);
    ASSERT_TRUE(hero.body.ground);
    const float x0 = hero.body.transform.position.x;
    const float floor_y = hero.body.transform.position.y;
    pad->set(pad::left_stick_right, true);
    frames(50);
    EXPECT_EQ(hero.state, Player::walking);
    EXPECT_GT(hero.body.transform.position.x, x0 + 50.0f);
    EXPECT_EQ(hero.body.facing, 1);
    pad->set(pad::left_stick_right, false);
    frames(100);
    EXPECT_EQ(hero.state, Player::standing);

    // Up on the d-pad jumps, and so does the west button, which the game maps to the up arrow.
    for (int32_t input : {pad::dpad_up, pad::west}) {
        pad->set(input, true);
        frames(20);
        EXPECT_GT(hero.body.transform.position.y, floor_y + 40.0f) << PadMap::name(input);
        pad->set(input, false);
        frames(200);
        EXPECT_EQ(hero.body.transform.position.y, floor_y) << PadMap::name(input);
    }

    // At the lever the south button (space, the use key) pulls it: the gate opens, and a
    // second pull shuts it.
    auto* gate = dynamic_cast<Door*>(level().find_by_id(30));
    ASSERT_NE(gate, nullptr);
    ASSERT_TRUE(gate->closed());
    ASSERT_EQ(lua("lf:creature_translation('hero', 0, MACHINES.lever_x - 20, GROUND_Y)"), "");
    frames(20);
    press(pad::south);
    EXPECT_FALSE(gate->closed());
    frames(10);
    press(pad::south);
    EXPECT_TRUE(gate->closed());

    // Unplugged while it walks the hero left and holds the use button, the pad lets go of
    // every key: the hero stops.
    pad->set(pad::dpad_left, true);
    pad->set(pad::south, true);
    frames(30);
    ASSERT_EQ(hero.state, Player::walking);
    pad.reset();
    frames(1);
    for (int32_t key = 0; key < VirtualKeys::count; ++key)
        EXPECT_FALSE(Keyboard::current().is_down(key)) << key;
    frames(100);
    EXPECT_EQ(hero.state, Player::standing);
    const float stopped_x = hero.body.transform.position.x;
    frames(50);
    EXPECT_NEAR(hero.body.transform.position.x, stopped_x, 0.01f);
}

// The crystal cave's stone floors, their ground and the crystals' places come from its Tiled
// map, loaded at the game's two units a pixel between the rock layers and the play layer.
TEST_F(SampleGameTest, TheCavesFloorsGroundAndCrystalsComeFromItsTiledMap) {
    start();
    tick();
    ASSERT_EQ(lua("change_level('cave')\n"
                  "floor, low, play = LAYER.floor, LAYER.low_floor, LAYER.play\n"
                  "x, y = lf:map_spawn_x('crystal_3'), lf:map_spawn_y('crystal_3')\n"
                  "colour = lf:map_object_property('crystal_3', 'colour')"),
              "");
    EXPECT_EQ(lua_number("floor"), 2);
    EXPECT_EQ(lua_number("low"), 3);
    EXPECT_EQ(lua_number("play"), 5) << "after the map's floors and its marks";
    for (int32_t index : {2, 3}) {
        Layer& layer = *level().layers[size_t(index)];
        ASSERT_EQ(layer.size(), 1u);
        auto* tiles = dynamic_cast<TileLayer*>(layer.object_at(0));
        ASSERT_NE(tiles, nullptr);
        EXPECT_EQ(tiles->columns(), 40);
    }
    // The floor and the lower floor: the first two strips, at the heights the level's scripts
    // name (CAVE.ground and CAVE.low), the planks after them.
    ASSERT_GE(level().segment_strips.size(), 7u);
    ASSERT_EQ(lua("ground, low_y = CAVE.ground, CAVE.low"), "");
    const Segment& floor = level().segment_strips[0]->segments.front();
    EXPECT_EQ(floor.start, (Vector2{-640, float(lua_number("ground"))}));
    EXPECT_EQ(floor.end, (Vector2{256, float(lua_number("ground"))}));
    const Segment& lower = level().segment_strips[1]->segments.front();
    EXPECT_EQ(lower.start, (Vector2{576, float(lua_number("low_y"))}));
    EXPECT_EQ(lower.end, (Vector2{1920, float(lua_number("low_y"))}));
    EXPECT_EQ(lua_number("x"), 650);
    EXPECT_EQ(lua_number("y"), lua_number("low_y"));
    EXPECT_EQ(lua_string("colour"), "0.3 1 0.8");
}
