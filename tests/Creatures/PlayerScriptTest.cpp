#include <cmath>
#include <limits>

#include "Audio/SoundQueue.h"
#include "Creatures/Player.h"
#include "Mechanisms/AreaTrigger.h"
#include "Mechanisms/TriggerManager.h"
#include "Platform/VirtualKeys.h"
#include "Render/Camera.h"
#include "Scene/Level.h"
#include "Scene/TempLists.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

namespace {

// A level with a long flat floor on y = 0 and a player above it, bound to the arrow keys. The
// player's idle and walk animations have frames, so their playback can be read.
constexpr const char* world = R"(
    lf = LuaFunctions()
    lf:add_vk_pair(37, 'left')
    lf:add_vk_pair(38, 'up')
    lf:add_vk_pair(39, 'right')
    lf:add_vk_pair(32, 'space')
    lf:create_level(0, 0, 0, 0)
    lf:create_layer(1, 1, 0)
    lf:create_segment(-2000, 0)
    lf:add_segment(2000, 0)
    lf:upload_segmentstrip()
    lf:init_subtexture('', 'f1', 0, 0, 1, 1)
    lf:init_subtexture('', 'f2', 0, 0, 1, 1)
    for _, a in ipairs({'idle', 'walk', 'jump', 'fall'}) do
        lf:init_animation(a, 0, 0)
        lf:animation_add_frame(a, 'f1', 1)
        lf:animation_add_frame(a, 'f2', 1)
    end
    lf:add_input_listener(2, 'left')
    lf:add_input_listener(3, 'right')
    lf:add_input_listener(0, 'up')
    lf:add_input_listener(4, 'space')
    lf:upload_controller(1)
    lf:create_creature('', 0, 'idle', 'walk', 'jump', 'fall')
    lf:creature_translation('', 0, 0, -1) -- just below the floor's line: caught at once
    lf:upload_player_to_layer(0)
)";

}  // namespace

class PlayerScriptTest : public EngineTest {
  protected:
    static Player& player() { return *Game::instance().player; }
    static CreatureBody& body() { return player().body; }
    // Starts the world and lets the player land and settle.
    void begin(const std::string& extra = "") {
        start(std::string(world) + extra);
        tick(5);
        ASSERT_TRUE(body().ground);
    }
    void hold(int32_t key, int frames = 1) {
        keyboard.press(key);
        tick(frames);
    }
    void let_go(int32_t key, int frames = 1) {
        keyboard.release(key);
        tick(frames);
    }
};

TEST_F(PlayerScriptTest, KeySequencesDriveTheFiveStates) {
    begin();
    EXPECT_EQ(player().state, Player::standing);
    hold(vk::right);
    EXPECT_EQ(player().state, Player::walking);
    EXPECT_EQ(player().current_animation, player().walk_animation.get());
    EXPECT_EQ(body().facing, 1);
    tick(20);
    EXPECT_GT(body().transform.position.x, 0.5f);
    // Both directions: no push, and standing at the event.
    hold(vk::left);
    EXPECT_EQ(player().state, Player::standing);
    EXPECT_EQ(player().current_animation, player().idle_animation.get());
    let_go(vk::right);
    EXPECT_EQ(player().state, Player::walking);
    EXPECT_EQ(body().facing, -1);
    let_go(vk::left);
    EXPECT_EQ(player().state, Player::standing);

    hold(vk::up);
    EXPECT_EQ(player().state, Player::jumping);
    EXPECT_EQ(player().current_animation, player().jump_animation.get());
    EXPECT_GT(body().vy, 0.0f);
    // The rise ends; falling, then the floor.
    for (int i = 0; i < 4000 && player().state == Player::jumping; ++i)
        tick();
    EXPECT_EQ(player().state, Player::falling);
    EXPECT_EQ(player().current_animation, player().fall_animation.get());
    for (int i = 0; i < 4000 && player().state == Player::falling; ++i)
        tick();
    EXPECT_EQ(player().state, Player::standing);
    EXPECT_FLOAT_EQ(body().transform.position.y, 0.0f);
}

TEST_F(PlayerScriptTest, TheFirstJumpNeedsAFirstLanding) {
    start(std::string(world) + "lf:creature_translation('', 0, 0, 300)");
    tick();
    hold(vk::up);
    EXPECT_EQ(player().state, Player::jumping);
    EXPECT_LT(body().vy, 0.0f) << "no jump before the first landing";
}

TEST_F(PlayerScriptTest, OnlyOneAirJumpAfterWalkingOffALedge) {
    // A short ledge at 100 over the floor; the player starts on it and walks off the right end.
    start(std::string(world) + R"(
        lf:create_segment(-50, 100)
        lf:add_segment(50, 100)
        lf:upload_segmentstrip()
        lf:creature_translation('', 0, 40, 99)
        lf:creature_gravity('', 0, 400)
        lf:creature_jump('', 0, 150, 2)
    )");
    tick(3);
    ASSERT_EQ(body().transform.position.y, 100.0f);
    hold(vk::right);
    for (int i = 0; i < 400 && body().ground; ++i)
        tick();
    EXPECT_EQ(player().state, Player::walking);
    tick();  // the walking state's own check finds no ground
    EXPECT_EQ(player().state, Player::falling);
    EXPECT_EQ(body().jumps_used, 1);
    hold(vk::up);
    EXPECT_EQ(player().state, Player::jumping);
    EXPECT_FLOAT_EQ(body().vy, 150.0f - 400.0f * 0.01f) << "the jump, then one step of gravity";
    let_go(vk::up);
    tick(30);
    hold(vk::up);
    EXPECT_LT(body().vy, 150.0f) << "no third jump";
}

TEST_F(PlayerScriptTest, ReleasingJumpWhileRisingCutsTheJump) {
    begin("lf:creature_jump('', 0, 200, 2)");
    auto apex = [&](int hold_frames) {
        body().transform.position = {0, 0};
        hold(vk::up, hold_frames);
        let_go(vk::up);
        float top = body().transform.position.y;
        for (int i = 0; i < 5000 && !body().ground; ++i) {
            tick();
            top = std::max(top, body().transform.position.y);
        }
        tick(3);
        return top;
    };
    const float full = apex(2000);
    const float cut = apex(2);
    EXPECT_GT(full, 0.0f);
    EXPECT_LT(cut, full * 0.9f);
}

TEST_F(PlayerScriptTest, LandingWithADirectionHeldWalksWithoutAKeyEvent) {
    start(std::string(world) + "lf:creature_translation('', 0, 0, 3)");
    hold(vk::right);  // event frame in the air: standing -> walking, then no ground -> falling
    tick();
    ASSERT_EQ(player().state, Player::falling);
    for (int i = 0; i < 100 && player().state == Player::falling; ++i)
        tick();
    EXPECT_EQ(player().state, Player::walking);
    EXPECT_EQ(player().current_animation, player().walk_animation.get());
}

TEST_F(PlayerScriptTest, TheMenuAndFrozenStatesHoldThePlayerStill) {
    begin();
    hold(vk::right, 10);
    for (int32_t state : {1, 2}) {
        const Vector2 p = body().transform.position;
        const float vx = body().vx;
        const float left = player().current_animation->time_left;
        ASSERT_EQ(lua("lf:set_game_state(" + std::to_string(state) + ")"), "");
        tick(10);
        EXPECT_EQ(body().transform.position.x, p.x) << state;
        EXPECT_EQ(body().vx, vx) << state;
        EXPECT_EQ(player().current_animation->time_left, left) << state;
        ASSERT_EQ(lua("lf:set_game_state(0)"), "");
        tick();
        EXPECT_GT(body().transform.position.x, p.x) << state;
    }
}

TEST_F(PlayerScriptTest, TheAnimationAdvancesTwiceInQuietFramesAndOnceInEventFrames) {
    begin();
    Animation* idle = player().current_animation;
    ASSERT_EQ(idle, player().idle_animation.get());
    float before = idle->time_left;
    tick(1, 0.01f);
    EXPECT_NEAR(before - idle->time_left, 0.02f, 1e-5f);
    // The walk animation is entered (rewound) and advanced once in the event frame.
    hold(vk::right);
    EXPECT_NEAR(player().walk_animation->time_left, 1.0f - 0.01f, 1e-5f);
}

TEST_F(PlayerScriptTest, DeathRunsTheDeathScriptEveryFrameUntilReset) {
    write_file("Data/Scripts/dead.lua", "deaths = (deaths or 0) + 1");
    begin("lf:creature_drag('', 0, 5, 'Data/Scripts/dead.lua')");
    ASSERT_EQ(lua("lf:player_state(1) lf:player_state(4)"), "");
    tick(3);
    EXPECT_EQ(player().state, Player::standing);
    EXPECT_EQ(lua_number("deaths"), 0.0);
    ASSERT_EQ(lua("lf:player_state(0)"), "");
    EXPECT_EQ(player().state, Player::dead);
    tick(4);
    EXPECT_EQ(lua_number("deaths"), 4.0);
    hold(vk::right);
    EXPECT_EQ(player().state, Player::dead) << "keys do nothing for the dead";
    ASSERT_EQ(lua("lf:reset_all_extra_for_level_change()"), "");
    EXPECT_EQ(player().state, Player::standing);
    EXPECT_FALSE(body().ground);
    EXPECT_EQ(body().jumps_used, body().max_jumps);
    tick(3);
    EXPECT_EQ(lua_number("deaths"), 5.0);
}

TEST_F(PlayerScriptTest, CollidersPushTheTriggerShapeOutOfABoxAndAPolygon) {
    // The player's trigger is a circle of radius 10 round its centre (the feet 10 lower). The
    // player walks right into each collider and must end touching it, not inside it.
    struct Case {
        const char* shape;
        float face_x;  // the collider's left face on the floor
    };
    for (Case c : {Case{R"(lf:create_shape('s', 3, 20, 20)
                           lf:create_collider(1, 's', 120, 20))",
                        100.0f},
                   Case{R"(lf:create_shape('s', 1, 4, 0)
                           lf:shape_vertex('s', 0, 0, 0)
                           lf:shape_vertex('s', 1, 60, 0)
                           lf:shape_vertex('s', 2, 60, 60)
                           lf:shape_vertex('s', 3, 0, 60)
                           lf:create_collider(1, 's', 80, 0))",
                        80.0f}}) {
        SCOPED_TRACE(c.shape);
        TearDown();
        SetUp();
        begin(std::string(R"(
            lf:creature_shape('', 0, 10, 10)
            lf:create_trigger('t', 0, '', '', 0, 0)
            lf:create_circle('c', 0, 0, 10)
            lf:trigger_shape('t', 0, 'c')
            lf:creature_trigger('', 0, 't', 0)
            lf:creature_speed('', 0, 400)
        )") + c.shape);
        hold(vk::right, 300);
        const float x = body().transform.position.x;
        EXPECT_LE(x + 10.0f, c.face_x + 0.5f);
        EXPECT_GE(x + 10.0f, c.face_x - 5.0f);
        EXPECT_FLOAT_EQ(body().transform.position.y, 0.0f);
        keyboard.release(vk::right);
    }
}

// Colliders whose push cannot be measured (a polygon shrunk to a point, absurd sizes) push
// nothing: the player stays where it is, never at a position that is not a number.
TEST_F(PlayerScriptTest, ADegenerateColliderNeverPushesThePlayerToNaN) {
    begin(R"(
        lf:create_trigger('t', 0, '', '', 0, 0)
        lf:create_circle('c', 0, 0, 10)
        lf:trigger_shape('t', 0, 'c')
        lf:creature_trigger('', 0, 't', 0)
        lf:create_shape('point', 0, 0, 0)
        lf:create_collider(1, 'point', 0, 5)
        lf:create_shape('line', 1, 2, 0)
        lf:shape_vertex('line', 1, 1e30, 0)
        lf:create_collider(1, 'line', -5, 5)
        lf:create_shape('huge', 3, 1e30, 1e30)
        lf:create_collider(1, 'huge', 3, 0)
    )");
    for (int i = 0; i < 20; ++i) {
        tick();
        ASSERT_TRUE(std::isfinite(body().transform.position.x)) << i;
        ASSERT_TRUE(std::isfinite(body().transform.position.y)) << i;
    }
}

TEST_F(PlayerScriptTest, WithoutAPlayerEveryPlayerFunctionDoesNothing) {
    start(R"(
        lf = LuaFunctions()
        lf:create_level(0, 0, 0, 0)
        lf:create_layer(1, 1, 0)
        lf:create_trigger('t', 0, '', '', 0, 0)
    )");
    ASSERT_EQ(lua(R"(
        lf:creature_translation('', 0, 1, 2)
        lf:creature_speed('', 0, 1)
        lf:creature_jump('', 0, 1, 1)
        lf:creature_shape('', 0, 1, 1)
        lf:creature_drag('', 0, 1, 'x.lua')
        lf:creature_gravity('', 0, 1)
        lf:creature_color('', 0, 1, 1, 1, 1)
        lf:creature_trigger('', 0, 't', 1)
        lf:creature_trigger('nobody', 2, 't', 1)
        lf:creature_sound('nobody', 2, 'a', 'b')
        lf:creature_emitter('nobody', 'nothing')
        lf:creature_remove(5)
        lf:upload_player_to_layer(0)
        lf:add_player_trigger_to_manager()
        lf:player_state(0)
        lf:reset_all_extra_for_level_change()
        x, y = lf:get_player_x(), lf:get_player_y()
    )"),
              "");
    tick(3);
    EXPECT_EQ(lua_number("x"), 0.0);
    EXPECT_EQ(lua_number("y"), 0.0);
    EXPECT_FALSE(Game::instance().player_position());
    // The trigger waits in its list for a creature that exists.
    EXPECT_NE(TempLists::instance().triggers.find("t"), nullptr);
}

TEST_F(PlayerScriptTest, GettersListenerAndCameraFollowTheFeet) {
    begin(R"(
        lf:init_camera_binder(-1000, 1000, -1000, 1000)
        lf:creature_shape('', 0, 16, 16)
    )");
    hold(vk::right, 50);
    tick();
    ASSERT_EQ(lua("x, y = lf:get_player_x(), lf:get_player_y()"), "");
    const Vector2 feet = body().transform.position;
    EXPECT_FLOAT_EQ(static_cast<float>(lua_number("x")), feet.x);
    EXPECT_FLOAT_EQ(static_cast<float>(lua_number("y")), feet.y);
    EXPECT_EQ(Game::instance().player_position()->x, feet.x);
    EXPECT_EQ(Game::instance().sound_queue->listener_x, feet.x);
    EXPECT_EQ(Game::instance().sound_queue->listener_y, feet.y);
    EXPECT_EQ(Game::instance().camera->position.x, feet.x);
    EXPECT_EQ(Game::instance().camera->position.y, feet.y + 16.0f);

    // At the binder's edge the camera stops following on that axis.
    body().transform.position.x = 900;
    tick();
    EXPECT_LT(Game::instance().camera->position.x, 900.0f);
    EXPECT_EQ(Game::instance().camera->position.y, body().transform.position.y + 16.0f);
}

TEST_F(PlayerScriptTest, TheTriggerFollowsTheCentreAndGoesWithTheLevel) {
    begin(R"(
        lf:creature_shape('', 0, 10, 30)
        lf:create_trigger('t', 0, '', '', 0, 0)
        lf:creature_trigger('', 0, 't', 0)
    )");
    AreaTrigger* t = player().active_trigger();
    ASSERT_NE(t, nullptr);
    tick();
    EXPECT_EQ(t->transform.position.y, body().transform.position.y + 30.0f);
    EXPECT_FALSE(Game::instance().triggers->contains(t)) << "only through the manager call";
    ASSERT_EQ(lua("lf:add_player_trigger_to_manager()"), "");
    EXPECT_TRUE(Game::instance().triggers->contains(t));
    EXPECT_FALSE(body().ground) << "it lands again";
    // A new level destroys it; the player carries on without one.
    ASSERT_EQ(
        lua("lf:create_level(0, 0, 0, 0) lf:create_layer(1, 1, 0) lf:upload_player_to_layer(0)"),
        "");
    EXPECT_EQ(player().active_trigger(), nullptr);
    tick(5);
    EXPECT_TRUE(std::isfinite(body().transform.position.y));
}

TEST_F(PlayerScriptTest, ASecondPlayerReplacesTheFirstWhichStaysAlive) {
    begin();
    Player* first = &player();
    ASSERT_EQ(lua("lf:create_creature('', 0, 'idle', '', '', '') lf:upload_player_to_layer(0)"),
              "");
    EXPECT_NE(&player(), first);
    EXPECT_EQ(player().controller.get(), first->controller.get()) << "the controller stays";
    hold(vk::right, 10);
    // Both are updated by the layer; the old one was not destroyed (the sanitizer would say).
    EXPECT_EQ(first->state, Player::walking);
    EXPECT_EQ(Game::instance().level->layer_at(0)->size(), 2u);
}

TEST_F(PlayerScriptTest, HugeFrameTimesKeepThePlayerFinite) {
    begin("lf:creature_speed('', 0, 1e30) lf:creature_gravity('', 0, 1e30)");
    hold(vk::right);
    for (float dt : {1e30f, std::numeric_limits<float>::infinity(), 5.0f}) {
        tick(3, dt);
        hold(vk::up);
        tick(3, dt);
        let_go(vk::up);
    }
    EXPECT_TRUE(std::isfinite(body().transform.position.x));
    EXPECT_TRUE(std::isfinite(body().transform.position.y));
    ASSERT_EQ(lua("lf:creature_translation('', 0, 0/0, 1/0)"), "");
    EXPECT_TRUE(std::isfinite(body().transform.position.x));
}

TEST_F(PlayerScriptTest, TheActionKeyUsesTriggersAndTheirScriptsMayReplaceEverything) {
    // The use trigger's script replaces the level, the player's controller and the player
    // itself while the player is reading its keys.
    write_file("Data/Scripts/use.lua", R"(
        uses = (uses or 0) + 1
        lf:create_level(0, 0, 0, 0)
        lf:create_layer(1, 1, 0)
        lf:add_input_listener(3, 'right')
        lf:upload_controller(1)
        lf:create_creature('', 0, 'idle', '', '', '')
        lf:upload_player_to_layer(0)
    )");
    begin(R"(
        lf:create_trigger('me', 0, '', '', 0, 0)
        lf:create_circle('me', 0, 0, 10)
        lf:trigger_shape('me', 0, 'me')
        lf:trigger_add_group_can_use_me('me', 0, 'levers')
        lf:creature_trigger('', 0, 'me', 0)
        lf:create_trigger('lever', 1, 'Data/Scripts/use.lua', '', 0, 0)
        lf:create_circle('lever', 0, 0, 10)
        lf:trigger_shape('lever', 1, 'lever')
        lf:trigger_add_group_i_belong_to('lever', 1, 'levers')
        lf:trigger_upload('lever', 3)
    )");
    Player* first = &player();
    hold(vk::space);
    EXPECT_EQ(lua_number("uses"), 1.0);
    let_go(vk::space, 3);
    EXPECT_EQ(lua_number("uses"), 1.0) << "a release uses nothing";
    EXPECT_NE(&player(), first);
    // The new player walks with the new controller in the new level.
    hold(vk::right, 20);
    EXPECT_EQ(player().state, Player::falling);
    EXPECT_GT(body().transform.position.x, 0.0f);
}

TEST_F(PlayerScriptTest, DropsFromAnyHeightLandOnTheFloor) {
    begin();
    struct Drop {
        float gravity, height, dt;
    };
    const Drop drops[] = {{20000, 600, 0.025f}, {2000, 650, 0.025f}, {2000, 800, 0.025f},
                          {2000, 1100, 0.025f}, {2000, 1100, 0.01f}, {9.81f, 30, 0.025f}};
    for (const Drop& d : drops) {
        body().gravity = d.gravity;
        body().transform.position = {100.0f, d.height};
        body().ground.reset();
        body().vy = 0.0f;
        for (int i = 0; i < 2000 && !body().ground; ++i)
            tick(1, d.dt);
        EXPECT_TRUE(body().ground) << d.gravity << " " << d.height << " " << d.dt;
        tick(2, d.dt);
        EXPECT_NEAR(body().transform.position.y, 0.0f, 0.01f)
            << d.gravity << " " << d.height << " " << d.dt;
    }
}
