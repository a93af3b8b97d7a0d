// Doors and levers as scripts build and use them.
#include <algorithm>

#include "Audio/Sound.h"
#include "Mechanisms/Door.h"
#include "Mechanisms/Lever.h"
#include "Physics/CircleShape.h"
#include "Scene/AnimatedSprite.h"
#include "Scene/Level.h"
#include "Scene/TempLists.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

namespace {

// After the two-frame animation "blink": a level with one layer, a box collider 5 at (100, 0),
// and Lua functions that make a door or a lever from fresh sprites in one call.
const char* const prelude = R"(
    lf:create_level(0, 0, 0, 0)
    lf:create_layer(1, 1, 0)
    lf:create_shape('box', 3, 20, 50)
    lf:create_collider(5, 'box', 100, 0)
    function door(name, id, collider, closed)
        lf:create_sprite(name .. '_open', 1, 'blink', 100, 0)
        lf:create_sprite(name .. '_shut', 1, 'blink', 100, 0)
        lf:create_door(name, name .. '_open', name .. '_shut', name .. '_os', name .. '_cs',
                       collider, closed)
        lf:gameobject_upload(name, 0, id)
    end
    function lever(name, id, on)
        lf:create_sprite(name .. '_off', 1, 'blink', 0, 0)
        lf:create_sprite(name .. '_on', 1, 'blink', 0, 0)
        lf:create_lever(name, name .. '_off', name .. '_on', '', '', on)
        lf:gameobject_upload(name, 0, id)
    end
)";

}  // namespace

class DoorLeverTest : public EngineTest {
  protected:
    void begin(const std::string& script) {
        start("lf = LuaFunctions()\n" + two_frame_animation("blink") + prelude + script);
    }
    Level& level() { return *Game::instance().level; }
    Door* door(int32_t id) { return dynamic_cast<Door*>(level().find_by_id(id)); }
    Lever* lever(int32_t id) { return dynamic_cast<Lever*>(level().find_by_id(id)); }
    long colliders_with(int32_t id) {
        return std::count_if(level().colliders.begin(), level().colliders.end(),
                             [id](const auto& c) { return c->id == id; });
    }
    // How far the level's colliders push a small circle placed at (x, y).
    float push_at(float x, float y) {
        CircleShape probe(0, 0, 5);
        Transform at;
        at.position = {x, y};
        Vector2 o = push_out(probe, at, level().colliders).offset;
        return std::abs(o.x) + std::abs(o.y);
    }
};

TEST_F(DoorLeverTest, LeverOpensAndClosesItsDoorThroughSignalsAndTheColliderFollows) {
    begin(R"(
        door('d', 7, 5, true)
        lever('l', 3, false)
        lf:add_lever_door_signal(3, false, 7, true)
        lf:add_lever_door_signal(3, true, 7, false)
    )");
    Door* d = door(7);
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->closed());
    EXPECT_EQ(d->current_sprite(), d->closed_sprite.get());
    EXPECT_EQ(colliders_with(5), 1);
    EXPECT_GT(push_at(100, 0), 0.0f);
    for (int round = 0; round < 4; ++round) {
        lua("lf:use_lever(3)");
        EXPECT_TRUE(lever(3)->on());
        EXPECT_FALSE(d->closed());
        EXPECT_EQ(d->current_sprite(), d->open_sprite.get());
        EXPECT_EQ(colliders_with(5), 0);
        EXPECT_EQ(push_at(100, 0), 0.0f);
        tick();
        lua("lf:use_lever(3)");
        EXPECT_FALSE(lever(3)->on());
        EXPECT_TRUE(d->closed());
        EXPECT_EQ(d->current_sprite(), d->closed_sprite.get());
        EXPECT_EQ(colliders_with(5), 1);
        // Closing on something standing in the doorway pushes it out.
        EXPECT_GT(push_at(100, 0), 0.0f);
        tick();
    }
    // Flipped twice within one script: back where it was.
    lua("lf:use_lever(3) lf:use_lever(3)");
    EXPECT_TRUE(d->closed());
    EXPECT_EQ(colliders_with(5), 1);
}

TEST_F(DoorLeverTest, SignalsActInOrderOnEveryDoorAndSkipMissingOnes) {
    begin(R"(
        lf:create_collider(6, 'box', 300, 0)
        door('a', 7, 5, true)
        door('b', 8, 6, true)
        lever('l', 3, false)
        lf:add_lever_door_signal(3, false, 99, true)   -- names no door
        lf:add_lever_door_signal(3, false, 7, true)
        lf:add_lever_door_signal(3, false, 8, true)
        lf:add_lever_door_signal(3, false, 7, false)   -- later: closes 7 again
        lf:add_lever_door_signal(4, false, 8, false)   -- another lever
        lf:add_lever_door_signal(3, true, 8, false)    -- the other state
        lf:use_lever(12345)                            -- no such lever
    )");
    EXPECT_TRUE(door(7)->closed());
    EXPECT_TRUE(lever(3) && !lever(3)->on());
    lua("lf:use_lever(3)");
    EXPECT_TRUE(door(7)->closed());
    EXPECT_FALSE(door(8)->closed());
    EXPECT_EQ(colliders_with(5), 1);
    EXPECT_EQ(colliders_with(6), 0);
}

TEST_F(DoorLeverTest, OpeningAnOpenDoorRestartsItsAnimationAndClosingAClosedOneDoesNothing) {
    begin(R"(
        door('d', 7, 5, true)
        lever('l', 3, false)
        lf:add_lever_door_signal(3, false, 7, true)
        lf:add_lever_door_signal(3, true, 7, true)
        lever('m', 4, false)
        lf:add_lever_door_signal(4, false, 7, false)
        lf:add_lever_door_signal(4, true, 7, false)
    )");
    Door* d = door(7);
    lua("lf:use_lever(3)");
    auto* open = static_cast<AnimatedSprite*>(d->open_sprite.get());
    tick(15);  // 0.15 s: the second frame
    EXPECT_EQ(open->animation->index, 1);
    lua("lf:use_lever(3)");  // opens again
    EXPECT_EQ(open->animation->index, 0);
    EXPECT_FLOAT_EQ(open->animation->time_left, 0.1f);
    EXPECT_FALSE(d->closed());
    EXPECT_EQ(colliders_with(5), 0);
    lua("lf:use_lever(4)");  // closes
    EXPECT_TRUE(d->closed());
    auto* shut = static_cast<AnimatedSprite*>(d->closed_sprite.get());
    tick(15);
    lua("lf:use_lever(4)");  // closes a closed door: nothing, not even a restart
    EXPECT_EQ(shut->animation->index, 1);
    EXPECT_EQ(colliders_with(5), 1);
}

TEST_F(DoorLeverTest, ADoorCreatedOpenDoesNotBlock) {
    begin(R"(
        door('d', 7, 5, false)
        lever('l', 3, true)
        lf:add_lever_door_signal(3, true, 7, false)
        lf:add_lever_door_signal(3, false, 7, true)
    )");
    EXPECT_FALSE(door(7)->closed());
    EXPECT_EQ(colliders_with(5), 0);
    EXPECT_EQ(push_at(100, 0), 0.0f);
    lua("lf:use_lever(3)");
    EXPECT_EQ(colliders_with(5), 1);
    lua("lf:use_lever(3)");
    EXPECT_EQ(colliders_with(5), 0);
}

TEST_F(DoorLeverTest, DestroyedDoorsAndLeversTakeTheirSignalsAndSoundsWithThem) {
    begin(R"(
        lf:create_sound('d_os', 'Data/open.wav', 100, 0, 0)
        lf:create_sound('d_cs', 'Data/close.wav', 100, 0, 0)
        door('d', 7, 5, true)
        lever('l', 3, false)
        lf:add_lever_door_signal(3, false, 7, true)
        lf:add_lever_door_signal(3, true, 7, false)
        lf:add_lever_door_signal(3, false, 7, false)
        lf:add_lever_door_signal(4, false, 8, true)
    )");
    auto& sounds = TempLists::instance().sounds;
    Door* d = door(7);
    ASSERT_NE(d, nullptr);
    // The door owns its sound; the name stays for configuration but cannot be taken again.
    EXPECT_EQ(sounds.find("d_os"), d->opening_sound.get());
    EXPECT_FALSE(sounds.owns("d_os"));
    EXPECT_EQ(d->opening_sound->path, "Data/open.wav");
    EXPECT_EQ(TempLists::instance().game_objects.find("d_open"), d->open_sprite.get());
    lua(R"(
        lf:create_sprite('x', 1, 'blink', 0, 0)
        lf:create_door('stolen', 'd_open', 'x', '', '', 5, true)
    )");
    EXPECT_EQ(TempLists::instance().game_objects.find("stolen"), nullptr);

    lua("lf:remove_gameobject(7)");
    EXPECT_EQ(level().lever_doors.door_count(), 0u);
    ASSERT_EQ(level().lever_doors.signals.size(), 1u);
    EXPECT_EQ(level().lever_doors.signals[0].lever_id, 4);
    EXPECT_EQ(sounds.find("d_os"), nullptr);
    EXPECT_EQ(TempLists::instance().game_objects.find("d_open"), nullptr);
    lua("lf:use_lever(3)");  // its signals are gone with the door
    EXPECT_TRUE(lever(3)->on());
    lua("lf:add_lever_door_signal(3, false, 9, true) lf:remove_gameobject(3)");
    EXPECT_EQ(level().lever_doors.lever_count(), 0u);
    EXPECT_EQ(level().lever_doors.signals.size(), 1u);
    lua("lf:use_lever(3)");
}

TEST_F(DoorLeverTest, BadInputMakesNothing) {
    struct Case {
        const char* script;
    } cases[] = {
        {"lf:create_door('n', 'missing', 's2', '', '', 5, true)"},
        {"lf:create_door('n', 's1', 'missing', '', '', 5, true)"},
        {"lf:create_door('n', 's1', 's2', '', '', 42, true)"},  // no collider 42
        {"lf:create_lever('n', 's1', 'missing', '', '', true)"},
        {"lf:create_shape('c', 3, 1, 1) lf:create_collider(9, 'c', 0, 0) "
         "lf:create_door('n', 's1', 'c', '', '', 9, true)"},  // a shape is not a sprite
    };
    begin("");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        ASSERT_EQ(lua("lf:create_sprite('s1', 1, 'blink', 0, 0) "
                      "lf:create_sprite('s2', 1, 'blink', 0, 0) " +
                      std::string(c.script)),
                  "");
        EXPECT_EQ(TempLists::instance().game_objects.find("n"), nullptr);
        EXPECT_TRUE(TempLists::instance().game_objects.owns("s1"));
        EXPECT_EQ(level().lever_doors.door_count() + level().lever_doors.lever_count(), 0u);
    }
    EXPECT_EQ(colliders_with(5), 1);
    // Without a level nothing is made and nothing breaks.
    Game::instance().replace_level(nullptr);
    EXPECT_EQ(lua("lf:create_sprite('a', 1, 'blink', 0, 0) lf:create_sprite('b', 1, 'blink', 0, 0) "
                  "lf:create_lever('n', 'a', 'b', '', '', true) lf:use_lever(0) "
                  "lf:add_lever_door_signal(1, true, 2, true)"),
              "");
    EXPECT_EQ(TempLists::instance().game_objects.find("n"), nullptr);
}

TEST_F(DoorLeverTest, ADoorLeftInTheTempListOutlivesItsLevelSafely) {
    begin(R"(
        lf:create_sprite('o', 1, 'blink', 0, 0)
        lf:create_sprite('c', 1, 'blink', 0, 0)
        lf:create_door('kept', 'o', 'c', '', '', 5, true)
        lf:create_level(0, 0, 0, 0)
        lf:create_layer(1, 1, 0)
    )");
    tick();
    // The old level is gone; the door still in the temp list can be uploaded and destroyed.
    EXPECT_EQ(lua("lf:gameobject_upload('kept', 0, 7) lf:use_lever(7)"), "");
    ASSERT_NE(door(7), nullptr);
    EXPECT_EQ(lua("lf:remove_gameobject(7)"), "");
    EXPECT_EQ(door(7), nullptr);
}
