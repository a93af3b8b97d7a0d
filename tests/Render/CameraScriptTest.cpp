// The camera extensions as scripts use them: putting the camera at a point, and a binder that
// clamps the view inside its bounds while the player walks a level wider than the screen.
#include "Creatures/Player.h"
#include "Platform/VirtualKeys.h"
#include "Render/Camera.h"
#include "Scene/Level.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

namespace {

// A level from x = 1000 to x = 4000 (its left edge far from 0), the ground at y = 0, and a
// player standing at its left end; the camera has not moved from the origin yet.
constexpr const char* level = R"(
    lf = LuaFunctions()
    lf:add_vk_pair(37, 'left')
    lf:add_vk_pair(39, 'right')
    lf:create_level(0, 0, 0, 0)
    lf:create_layer(1, 1, 0)
    lf:create_segment(1000, 0)
    lf:add_segment(4000, 0)
    lf:upload_segmentstrip()
    lf:add_input_listener(velden.listener.LEFT, 'left')
    lf:add_input_listener(velden.listener.RIGHT, 'right')
    lf:upload_controller(velden.controller.PLAYER)
    lf:create_creature('', velden.creature.PLAYER, '', '', '', '')
    lf:creature_shape('', 0, 16, 16)
    lf:creature_speed('', 0, 4000)
    lf:creature_drag('', 0, 10, '')
    lf:creature_translation('', 0, 1100, -1)
    lf:upload_player_to_layer(0)
    lf:init_camera_binder(1000, 4000, -200, 800)
)";

class CameraScriptTest : public EngineTest {
  protected:
    static Vector2 camera() { return Game::instance().camera->position; }
    static float player_x() { return Game::instance().player->body.transform.position.x; }
};

}  // namespace

TEST_F(CameraScriptTest, ASetPositionMovesTheViewAndTheGettersSeeIt) {
    start(
        "lf = LuaFunctions()\n"
        "lf:create_level(0, 0, 0, 0)\n"
        "lf:create_layer(1, 1, 0)\n"
        // A white box at (1000, 500) and nothing else.
        "lf:create_sprite('box', 0, '', 1000, 500)\n"
        "lf:sprite_shape('box', 0, 20, 20)\n"
        "lf:gameobject_upload('box', 0, 1)\n");
    tick();
    EXPECT_EQ(pixel(640, 360), (Pixel{0, 0, 0, 255})) << "the box is off screen";
    ASSERT_EQ(lua("lf:camera_set_position(1000, 500)\n"
                  "x, y = lf:get_camera_x(), lf:get_camera_y()"),
              "");
    EXPECT_EQ(lua_number("x"), 1000);
    EXPECT_EQ(lua_number("y"), 500);
    tick();
    EXPECT_EQ(pixel(640, 360), (Pixel{255, 255, 255, 255})) << "the box in the middle";
    // Without a binder nothing moves it back; a position that is not a number is ignored.
    ASSERT_EQ(lua("lf:camera_set_position(0/0, 3)\nlf:camera_set_position(1, 1/0)"), "");
    tick(3);
    EXPECT_EQ(camera(), (Vector2{1000, 500}));
}

TEST_F(CameraScriptTest, ByDefaultTheBinderStopsAndLosesTheFarAwayPlayer) {
    start(level);
    tick();
    // The view centred on the player would cross the area's left edge: the camera stays at
    // the origin, 1000 units from the player, who is off the screen.
    EXPECT_EQ(camera().x, 0.0f);
    EXPECT_GT(player_x() - camera().x, 640.0f);
}

TEST_F(CameraScriptTest, AClampingBinderShowsThePlayerFromTheFirstFrameToTheFarEdge) {
    start(std::string(level) + "lf:camera_binder_mode(velden.camera_binder.CLAMP)\n");
    tick();
    // The view's left edge on the area's: the centre at 1640, the player on the screen.
    EXPECT_EQ(camera().x, 1640.0f);
    EXPECT_EQ(camera().y, 160.0f) << "the bottom edge at -200";
    // Walking right: the camera follows once the player passes the middle and stops with the
    // view's right edge on the area's, never jumping.
    keyboard.press(vk::right);
    float last = camera().x;
    for (int i = 0; i < 700; ++i) {
        tick();
        const float x = camera().x;
        EXPECT_LE(x - last, 50.0f) << "frame " << i;
        EXPECT_GE(x, 1640.0f);
        EXPECT_LE(x, 3360.0f);
        EXPECT_LT(std::abs(player_x() - x), 640.0f) << "the player stays on the screen";
        last = x;
    }
    EXPECT_GT(player_x(), 3400.0f);
    EXPECT_EQ(camera().x, 3360.0f);
    // Put back at the start, the player is found again at once.
    ASSERT_EQ(lua("lf:creature_translation('', 0, 1100, 0)"), "");
    keyboard.release(vk::right);
    tick();
    EXPECT_EQ(camera().x, 1640.0f);

    // Back to stopping: the binder then keeps to the core behaviour.
    ASSERT_EQ(lua("lf:camera_binder_mode(velden.camera_binder.STOP)"), "");
    ASSERT_EQ(lua("lf:camera_binder_mode(7)"), "") << "an unknown mode changes nothing";
    EXPECT_FALSE(Game::instance().level->camera_binder->clamp);
}

TEST_F(CameraScriptTest, TheModeBelongsToTheLevelsBinder) {
    start(std::string(level) + "lf:camera_binder_mode(1)\n");
    ASSERT_TRUE(Game::instance().level->camera_binder->clamp);
    // A new binder, or a new level, starts stopping again; without a binder the call does
    // nothing.
    ASSERT_EQ(lua("lf:init_camera_binder(0, 1, 0, 1)"), "");
    EXPECT_FALSE(Game::instance().level->camera_binder->clamp);
    ASSERT_EQ(lua("lf:create_level(0, 0, 0, 0)\nlf:camera_binder_mode(1)"), "");
    EXPECT_FALSE(Game::instance().level->camera_binder);
}
