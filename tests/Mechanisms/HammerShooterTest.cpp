// Hammers, shooters and bullets as scripts build them, run by the game's frames.
#include <cmath>
#include <numbers>

#include "Mechanisms/Bullet.h"
#include "Mechanisms/GateTrigger.h"
#include "Mechanisms/Hammer.h"
#include "Mechanisms/Shooter.h"
#include "Mechanisms/TriggerManager.h"
#include "Scene/AnimatedSprite.h"
#include "Scene/Level.h"
#include "Scene/RemorfableSprite.h"
#include "Scene/TempLists.h"
#include "Scene/TexturedSprite.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

namespace {

const char* const prelude = R"(
    lf = LuaFunctions()
    log = ''
    lf:init_subtexture('none', 'f0', 0, 0, 0.5, 1)
    lf:init_animation('still', 0, 0)
    lf:animation_add_frame('still', 'f0', 0.1)
    lf:create_level(0, 0, 0, 0)
    lf:create_layer(1, 1, 0)
    lf:create_layer(1, 1, 0)
    function gate(name, x, y, r, belong, can, enter)
        lf:create_trigger(name, 0, enter or '', '', x, y)
        lf:create_circle(name .. '_shape', 0, 0, r)
        lf:trigger_shape(name, 0, name .. '_shape')
        lf:trigger_add_group_i_belong_to(name, 0, belong)
        lf:trigger_add_group_can_use_me(name, 0, can)
    end
    -- A complete hammer at (x, y), but for the parts listed in skip.
    function hammer(id, x, y, skip)
        skip = skip or {}
        lf:create_hammer(id, x, y, 0)
        if not skip.trigger then
            gate('ht' .. id, 0, 0, 10, 'hammer', 'player', 'Data/Scripts/hit.lua')
            lf:hammer_add_trigger(id, 'ht' .. id)
        end
        if not skip.idle then lf:hammer_add_idle_pair(id, 1, 0.5) end
        if not skip.speed then lf:hammer_add_speed_pair(id, 200, 50) end
        if not skip.locations then lf:hammer_piston_locations(id, 0, 0, 0, -100) end
        if not skip.cylinder then
            lf:create_sprite('cyl', 1, 'still', 0, 0)
            lf:hammer_set_cylinder_animatedsprite(id, 'cyl')
        end
        if not skip.piston then
            lf:create_sprite('pis', 1, 'still', 0, 0)
            lf:hammer_set_piston_animatedsprite(id, 'pis')
        end
        lf:create_sprite('rod', 0, '', 0, 0)
        lf:sprite_shape('rod', 0, 8, 3)
        lf:hammer_set_crankshaft_sprite(id, 'rod')
        lf:hammer_set_piston_angledifference(id, 0.25)
    end
    -- A shooter at the origin of layer 0 that waits first, then second seconds in turn, with
    -- the still animated sprite gun.
    function shooter(id, first, second, gun)
        lf:create_shooter(id, 0, 0, 0)
        lf:shooter_set_idle_time(id, first, second)
        lf:create_sprite(gun, 1, 'still', 0, 0)
        lf:shooter_set_idle_animation(id, gun)
    end
    -- A bullet flying from (x0, 0) to (x1, 0) over 1 / speed seconds, then gone.
    function bullet(name, id, x0, x1, speed, enter)
        lf:create_bullet(name, id)
        lf:create_sprite(name .. '_t', 0, '', x0, 0)
        lf:remorfable_sprite(name .. '_g', name .. '_t', speed, false)
        lf:add_key_frame(1, x1, 0, 0, 1)
        lf:upload_key_frame(name .. '_g')
        lf:bullet_set_graphics(name, name .. '_g')
        gate(name .. '_trig', 0, 0, 5, 'bullet', 'player', enter or 'Data/Scripts/hit.lua')
        lf:bullet_set_trigger(name, name .. '_trig')
    end
)";

}  // namespace

class HammerShooterTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        write_file("Data/Scripts/hit.lua", "log = log .. 'H' .. parameter .. ' '");
    }
    void begin(const std::string& script) { start(std::string(prelude) + script); }
    Level& level() { return *Game::instance().level; }
    template <class T>
    T* placed(int32_t id) {
        return dynamic_cast<T*>(level().find_by_id(id));
    }
    std::vector<Bullet*> bullets(int32_t layer) {
        std::vector<Bullet*> list;
        Layer& l = *level().layers[layer];
        for (size_t i = 0; i < l.size(); ++i)
            if (auto* b = dynamic_cast<Bullet*>(l.object_at(i)))
                list.push_back(b);
        return list;
    }
    TriggerManager& manager() { return *Game::instance().triggers; }
};

TEST_F(HammerShooterTest, HammerRestsDrivesAndReturnsWithItsPartsOnThePistonHead) {
    begin("hammer(1, 200, 50)");
    Hammer* h = placed<Hammer>(1);
    ASSERT_NE(h, nullptr);
    ASSERT_TRUE(h->complete());
    EXPECT_EQ(h->crank_half_width, 3.0f);
    EXPECT_EQ(h->crank_length, 16.0f);
    // When each state begins, in seconds of update time.
    float began[4] = {-1, -1, -1, -1};
    int32_t last = h->state;
    float changes_back_at_a = -1;
    const float dt = 0.01f;
    for (int frame = 1; frame <= 600; ++frame) {
        tick(1, dt);
        const float t = frame * dt;
        if (h->state != last) {
            if (h->state == 0 && changes_back_at_a < 0)
                changes_back_at_a = t;
            else if (began[h->state] < 0)
                began[h->state] = t;
            last = h->state;
        }
        // Every frame: trigger and piston on the head, the rod from anchor to head.
        const Vector2 head = Vector2{200, 50} + h->offset;
        ASSERT_EQ(h->trigger->transform.position, head);
        ASSERT_EQ(h->piston->transform.position, head);
        ASSERT_EQ(h->anchor_sprite->transform.position, (Vector2{200, 50}));
        const float len = std::sqrt(dot(h->offset, h->offset));
        ASSERT_NEAR(h->crankshaft->tex_coords[2].x, len / 16.0f, 1e-6f);
        ASSERT_EQ(h->crankshaft->transform.position, (Vector2{200, 50} + h->offset * 0.5f));
        ASSERT_NEAR(h->crankshaft->corners[1].y - h->crankshaft->corners[0].y, h->offset.y, 1e-4f);
        // The stroke points straight down: 3/2 pi plus the angle difference.
        const float a = 1.5f * std::numbers::pi_v<float> + 0.25f;
        ASSERT_NEAR(h->piston->transform.axis_x.x, std::cos(a), 1e-5f);
        ASSERT_NEAR(h->piston->transform.axis_x.y, std::sin(a), 1e-5f);
        ASSERT_TRUE(h->offset.y <= 0.0f && h->offset.y >= -100.0f && h->offset.x == 0.0f);
        if (h->state == 2) {
            ASSERT_EQ(h->offset, (Vector2{0, -100}));
        }
        if (h->state == 0) {
            ASSERT_EQ(h->offset, (Vector2{0, 0}));
        }
    }
    // Rests 1 s at A, drives 100 units at 200/s, rests 0.5 s at B, returns at 50/s, rests 1 s.
    EXPECT_NEAR(began[1], 1.0f, 0.015f);
    EXPECT_NEAR(began[2], 1.5f, 0.025f);
    EXPECT_NEAR(began[3], 2.0f, 0.035f);
    EXPECT_NEAR(changes_back_at_a, 4.0f, 0.045f);
    EXPECT_EQ(h->state, 2);  // rested 1 s at A and is down again at 6 s
}

TEST_F(HammerShooterTest, HammerHeadHitsWhatItsTriggerReaches) {
    begin(R"(
        hammer(1, 0, 0)
        gate('victim', 0, -100, 5, 'player', 'hammer')
        lf:trigger_upload('victim', 50)
    )");
    tick(140);  // still on its way down
    EXPECT_EQ(lua_string("log"), "");
    tick(20);
    // A hammer leaves its trigger the id it was made with: 0.
    EXPECT_EQ(lua_string("log"), "H0 ");
}

TEST_F(HammerShooterTest, IncompleteHammerIsNeitherUpdatedNorDrawn) {
    const char* parts[] = {"trigger", "idle", "speed", "locations", "cylinder", "piston"};
    std::string script;
    for (int i = 0; i < 6; ++i)
        script += "hammer(" + std::to_string(i + 1) + ", 640, 360, {" + parts[i] + " = true}) ";
    begin(script);
    tick(300);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(parts[i]);
        Hammer* h = placed<Hammer>(i + 1);
        ASSERT_NE(h, nullptr);
        EXPECT_FALSE(h->complete());
        EXPECT_EQ(h->state, 0);
        EXPECT_EQ(h->offset, (Vector2{0, 0}));
        if (h->piston) {
            EXPECT_EQ(h->piston->transform.position, (Vector2{0, 0}));
        }
    }
    // Given its missing part, the last one starts.
    lua("lf:create_sprite('p6', 1, 'still', 0, 0) lf:hammer_set_piston_animatedsprite(6, 'p6')");
    tick(170);  // 1 s at rest, 0.5 s down
    EXPECT_EQ(placed<Hammer>(6)->state, 2);
}

TEST_F(HammerShooterTest, HammerBadInputDoesNothing) {
    begin(R"(
        lf:create_hammer(1, 0, 0, 7)           -- no layer 7
        lf:create_hammer(2, 0, 0, -1)
        hammer(3, 0, 0)
        lf:create_sprite('spare', 1, 'still', 0, 0)
        lf:hammer_set_piston_animatedsprite(3, 'nothing')
        lf:hammer_set_cylinder_animatedsprite(4, 'spare')      -- no object 4
        lf:hammer_add_trigger(3, 'nothing')
        lf:hammer_add_down_going_sound(3, 'nothing')
        lf:hammer_piston_locations(3, 0, 0, 0, 0)              -- no stroke
        lf:hammer_add_speed_pair(3, 0/0, 1/0)
        lf:hammer_set_piston_angledifference(3, 0/0)
        lf:create_bullet('b', 9)
        lf:hammer_set_cylinder_animatedsprite(3, 'b')          -- not a sprite
    )");
    EXPECT_EQ(level().find_by_id(1), nullptr);
    EXPECT_EQ(level().find_by_id(2), nullptr);
    Hammer* h = placed<Hammer>(3);
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(TempLists::instance().game_objects.owns("spare"));
    EXPECT_FALSE(h->complete());  // the stroke of no length
    lua("lf:hammer_piston_locations(3, 0, 0, 0, -50)");
    EXPECT_TRUE(h->complete());
    tick(300);
    EXPECT_TRUE(std::isfinite(h->offset.x) && std::isfinite(h->offset.y));
    EXPECT_TRUE(std::isfinite(h->piston->transform.axis_x.x));
}

TEST_F(HammerShooterTest, ShooterFiresIndependentCopiesAtItsAlternatingRate) {
    begin(R"(
        shooter(5, 2, 3, 'gun')
        bullet('shot', 77, -500, 500, 0.05)
        lf:shooter_set_bullet(5, 'shot', 1)
    )");
    Shooter* s = placed<Shooter>(5);
    ASSERT_NE(s, nullptr);
    ASSERT_TRUE(s->complete());
    Bullet* tmpl = s->template_bullet.get();
    EXPECT_EQ(TempLists::instance().game_objects.find("shot"), tmpl);
    std::vector<float> shots;
    size_t seen = 0;
    const float dt = 0.01f;
    for (int frame = 1; frame <= 1300; ++frame) {
        tick(1, dt);
        if (bullets(1).size() > seen) {
            shots.push_back(frame * dt);
            seen = bullets(1).size();
        }
    }
    // The first shot two frames after a 2 s wait; then waits of 3 s and 2 s alternately, each
    // cycle also taking the three frames around a shot (a frame more where the sum of the frame
    // times falls just short of the wait).
    ASSERT_EQ(shots.size(), 5u);
    EXPECT_NEAR(shots[0], 2.02f, 0.015f);
    const float waits[] = {3, 2, 3, 2};
    for (size_t i = 1; i < shots.size(); ++i) {
        const float gap = shots[i] - shots[i - 1];
        EXPECT_GE(gap, waits[i - 1] + 0.025f) << i;
        EXPECT_LE(gap, waits[i - 1] + 0.045f) << i;
    }

    std::vector<Bullet*> live = bullets(1);
    for (size_t i = 0; i < live.size(); ++i) {
        Bullet* b = live[i];
        EXPECT_EQ(b->id, 77);
        ASSERT_NE(b->graphics, nullptr);
        ASSERT_NE(b->trigger, nullptr);
        EXPECT_NE(b->graphics.get(), tmpl->graphics.get());
        EXPECT_NE(b->trigger.get(), tmpl->trigger.get());
        EXPECT_TRUE(manager().contains(b->trigger.get()));
        EXPECT_EQ(b->trigger->id, 77);
        EXPECT_EQ(b->trigger->transform.position, b->graphics->target->transform.position);
        if (i > 0) {
            EXPECT_NE(b->graphics.get(), live[i - 1]->graphics.get());
            // Each flies on its own timeline: earlier shots are further along.
            EXPECT_GT(live[i - 1]->graphics->target->transform.position.x,
                      b->graphics->target->transform.position.x);
        }
    }
    // The template never moved.
    EXPECT_EQ(tmpl->graphics->target->transform.position, (Vector2{-500, 0}));
    EXPECT_EQ(tmpl->graphics->time, 0.0f);
}

TEST_F(HammerShooterTest, BulletIsRemovedWithItsTriggerWhenItsKeyFramesRunOut) {
    begin(R"(
        shooter(5, 0.1, 100, 'gun')
        bullet('shot', 77, 0, 100, 2)
        lf:shooter_set_bullet(5, 'shot', 1)
    )");
    const size_t before = manager().count();
    tick(15);
    ASSERT_EQ(bullets(1).size(), 1u);
    EXPECT_EQ(manager().count(), before + 1);
    // Frame by frame: the bullet and its trigger go together, in the update that takes its
    // timeline past the end, and not before it is nearly through.
    Bullet* b = bullets(1)[0];
    float last_time = 0.0f;
    for (int i = 0; i < 80 && !bullets(1).empty(); ++i) {
        last_time = b->graphics->time;
        EXPECT_EQ(manager().count(), before + 1);
        tick();
    }
    EXPECT_EQ(bullets(1).size(), 0u);
    EXPECT_GT(last_time, 1.0f - 2 * 0.02f - 1e-4f);
    EXPECT_EQ(manager().count(), before);
}

// A bullet's trigger script takes away the shooter, the bullet, both, or the whole level.
class BulletScriptRemoval : public HammerShooterTest,
                            public ::testing::WithParamInterface<const char*> {};

TEST_P(BulletScriptRemoval, NothingDangles) {
    const std::string script = GetParam();
    write_file("Data/Scripts/gone.lua", "log = log .. 'G' " + script);
    begin(R"(
        shooter(5, 0.05, 0.05, 'gun')
        bullet('shot', 77, 0, 200, 1, 'Data/Scripts/gone.lua')
        lf:shooter_set_bullet(5, 'shot', 1)
        gate('target', 100, 0, 5, 'player', 'bullet')
        lf:trigger_upload('target', 60)
    )");
    tick(150);
    EXPECT_EQ(lua_string("log").substr(0, 1), "G");
    if (script.find("(5)") != std::string::npos) {
        EXPECT_EQ(level().find_by_id(5), nullptr);
        // The template went with its shooter; the name it kept is empty now.
        EXPECT_EQ(TempLists::instance().game_objects.find("shot"), nullptr);
    }
    for (Trigger* t : manager().triggers())
        EXPECT_TRUE(t->id == 60 || t->id == 77) << t->id;
    tick(200);
    for (Trigger* t : manager().triggers())
        EXPECT_TRUE(t->id == 60 || t->id == 77) << t->id;
}

INSTANTIATE_TEST_SUITE_P(Scripts, BulletScriptRemoval,
                         ::testing::Values("lf:remove_gameobject(5)", "lf:remove_gameobject(77)",
                                           "lf:remove_gameobject(5) lf:remove_gameobject(77)",
                                           "lf:create_level(0, 0, 0, 0) lf:create_layer(1, 1, 0)"));

TEST_F(HammerShooterTest, ShooterWithoutABulletOrALayerFiresNothing) {
    begin(R"(
        shooter(5, 0.05, 0.05, 'gun')
        lf:shooter_set_bullet(5, 'missing', 1)
        shooter(6, 0.05, 0.05, 'gun2')
        bullet('shot', 77, 0, 200, 1)
        lf:shooter_set_bullet(6, 'shot', 9)     -- no layer 9
        lf:shooter_set_bullet(5, 'shot', 1)     -- owned by shooter 6 already
        lf:create_shooter(7, 0, 0, 12)          -- no layer 12
    )");
    EXPECT_FALSE(placed<Shooter>(5)->complete());
    EXPECT_EQ(level().find_by_id(7), nullptr);
    tick(100);
    EXPECT_EQ(bullets(0).size() + bullets(1).size(), 0u);
    EXPECT_EQ(placed<Shooter>(5)->state, 0);
}
