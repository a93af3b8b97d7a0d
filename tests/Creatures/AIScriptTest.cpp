// AI states and the player's health as scripts set them up, driven by the game's frames.
#include <cmath>
#include <string>
#include <vector>

#include "Creatures/MovingCreature.h"
#include "Creatures/PatrolState.h"
#include "Creatures/PhysicalMoveState.h"
#include "Creatures/Player.h"
#include "Creatures/RunawayState.h"
#include "Scene/Level.h"
#include "Scene/TempLists.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

namespace {

const char* const prelude = R"(
    lf = LuaFunctions()
    -- A creature of kind 2 at (x, y) moving at speed.
    function critter(name, x, y, speed)
        lf:create_creature(name, 2, '', '', '', '')
        lf:creature_translation(name, 2, x, y)
        lf:creature_speed(name, 2, speed)
    end
    function path(loop, points)
        lf:create_pathing_graph(loop)
        for _, p in ipairs(points) do lf:add_pathing_graph_point(p[1], p[2]) end
    end
    -- A level with one layer and a flat strip along y = 0.
    function flat_level()
        lf:create_level(0, 0, 0, 0)
        lf:create_layer(1, 1, 0)
        lf:create_segment(-2000, 0)
        lf:add_segment(2000, 0)
        lf:upload_segmentstrip()
    end
    -- The player at (x, y), without gravity, in layer 0 of the current level.
    function hero(x, y)
        lf:create_creature('hero', 0, '', '', '', '')
        lf:creature_translation('hero', 0, x, y)
        lf:creature_gravity('hero', 0, 0)
        lf:upload_player_to_layer(0)
    end
    deaths = 0
)";

float distance(Vector2 a, Vector2 b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

}  // namespace

class AIScriptTest : public EngineTest {
  protected:
    void begin(const std::string& script = "") { start(std::string(prelude) + script); }

    static MovingCreature* creature(const std::string& name) {
        return dynamic_cast<MovingCreature*>(TempLists::instance().game_objects.find(name));
    }
    static Vector2 position(const std::string& name) {
        return creature(name)->body.transform.position;
    }
    static std::vector<std::unique_ptr<AIState>>& states() { return Game::instance().ai_states; }
    template <class T>
    static T* state(size_t i) {
        return i < states().size() ? dynamic_cast<T*>(states()[i].get()) : nullptr;
    }
    static Player* player() { return Game::instance().player.get(); }
};

TEST_F(AIScriptTest, PatrolWalksThreeWaypointsInEachPathModeAndOvershootsByLessThanAStep) {
    struct Case {
        bool loop;
        std::vector<int> targets;
    } cases[] = {{true, {2, 0, 1, 2, 0, 1}}, {false, {2, 1, 0, 1, 2, 1}}};
    const Vector2 points[] = {{0, 0}, {100, 0}, {100, 100}};
    begin();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.loop ? "loop" : "back and forth");
        ASSERT_EQ(lua(std::string("critter('w', 0, 0, 1000) path(") + (c.loop ? "true" : "false") +
                      ", {{0, 0}, {100, 0}, {100, 100}}) lf:create_ai('w', 'patrol')"),
                  "");
        auto* patrol = state<PatrolState>(states().size() - 1);
        ASSERT_NE(patrol, nullptr);
        MovingCreature* w = creature("w");
        std::vector<int> targets;
        const float step = 1000 * 0.01f;
        for (int frame = 0; frame < 400 && targets.size() < c.targets.size(); ++frame) {
            const Vector2 before = w->body.transform.position;
            const Vector2 old_target = patrol->target;
            const bool was_arriving = patrol->need_target;
            tick();
            // Every frame takes exactly one full step along a straight line.
            EXPECT_NEAR(distance(before, w->body.transform.position), step, 1e-3f) << frame;
            if (frame == 0 || patrol->target != old_target) {
                // A new target only in the frame after the arrival, which passed the old one
                // by less than a step.
                if (frame > 0) {
                    EXPECT_TRUE(was_arriving) << frame;
                    EXPECT_LT(distance(before, old_target), step) << frame;
                }
                int index = -1;
                for (int i = 0; i < 3; ++i)
                    if (patrol->target == points[i])
                        index = i;
                targets.push_back(index);
            }
        }
        EXPECT_EQ(targets, c.targets);
        ASSERT_EQ(lua("lf:reset_all_extra_for_level_change()"), "");
        EXPECT_TRUE(states().empty());
    }
}

TEST_F(AIScriptTest, PatrolFacesLeftExactlyWhileItsStepGoesLeft) {
    struct Case {
        float x, y;
        int32_t facing;
    } cases[] = {{-100, 0, -1}, {100, 0, 1},   {0, 100, 1},
                 {0, -100, 1},  {-1, 100, -1}, {1, -100, 1}};
    begin();
    for (const Case& c : cases) {
        // A looping path of one point: the creature heads straight for it.
        ASSERT_EQ(lua("critter('f', 0, 0, 10) path(true, {{" + std::to_string(c.x) + ", " +
                      std::to_string(c.y) + "}}) lf:create_ai('f', 'patrol')"),
                  "");
        tick();
        EXPECT_EQ(creature("f")->body.facing, c.facing) << c.x << ", " << c.y;
    }
}

TEST_F(AIScriptTest, EmptyAndOnePointPathsLeaveTheCreatureWhereItIs) {
    begin(R"(
        critter('a', 10, 20, 500) path(true, {}) lf:create_ai('a', 'patrol')
        critter('b', 30, 40, 500) path(false, {}) lf:create_ai('b', 'runaway')
        critter('c', 0, 0, 500) path(false, {{50, 0}}) lf:create_ai('c', 'patrol')
        -- No new points: the next creature gets an empty path.
        critter('d', -5, 7, 500) lf:create_ai('d', 'patrol')
    )");
    ASSERT_EQ(states().size(), 4u);
    tick(100);
    EXPECT_EQ(position("a"), (Vector2{10, 20}));
    EXPECT_EQ(position("b"), (Vector2{30, 40}));
    EXPECT_EQ(position("d"), (Vector2{-5, 7}));
    // The one-point path takes the creature to its point (within a step), where it stays.
    const Vector2 c = position("c");
    EXPECT_LT(distance(c, {50, 0}), 5.0f);
    tick(50);
    EXPECT_EQ(position("c"), c);
    for (const char* name : {"a", "b", "c", "d"}) {
        EXPECT_TRUE(std::isfinite(position(name).x) && std::isfinite(position(name).y)) << name;
    }
    EXPECT_TRUE(TempLists::instance().pending_path.waypoints.empty());
    EXPECT_TRUE(TempLists::instance().pending_path.loop);
}

TEST_F(AIScriptTest, CreateAiMakesNothingForAnUnknownCreatureOrBehaviourAndResetsThePath) {
    begin(R"(
        critter('w', 0, 0, 100)
        path(false, {{1, 2}, {3, 4}}) lf:create_ai('nobody', 'patrol')
        path(false, {{1, 2}, {3, 4}}) lf:create_ai('w', 'dance')
        path(false, {{1, 2}, {3, 4}}) lf:create_ai('w', '')
        path(false, {{1, 2}, {0 / 0, 4}, {1 / 0, 1}})
    )");
    EXPECT_TRUE(states().empty());
    // Points that are not finite numbers are not taken.
    EXPECT_EQ(TempLists::instance().pending_path.waypoints.size(), 1u);
    EXPECT_FALSE(TempLists::instance().pending_path.loop);
    ASSERT_EQ(lua("lf:create_ai('w', 'physicalmove') lf:create_ai('w', 'patrol')"), "");
    // Two behaviours for one creature, in creation order, each with its own copy of the path.
    ASSERT_NE(state<PhysicalMoveState>(0), nullptr);
    ASSERT_NE(state<PatrolState>(1), nullptr);
    EXPECT_EQ(state<AIState>(0)->agent->waypoints.size(), 1u);
    EXPECT_TRUE(state<AIState>(1)->agent->waypoints.empty());
    EXPECT_TRUE(state<AIState>(1)->agent->loop);
    EXPECT_EQ(state<AIState>(0)->creature, creature("w"));
}

TEST_F(AIScriptTest, PhysicalMoverLandsOnAStripAndReachesAWaypointAboveItByItsX) {
    begin(R"(
        flat_level()
        critter('h', 0, 5, 400)
        lf:creature_gravity('h', 2, 600)
        -- A looping path of one point high above the ground.
        path(true, {{200, 300}})
        lf:create_ai('h', 'physicalmove')
        lf:gameobject_upload('h', 0, 7)
    )");
    auto* walker = dynamic_cast<MovingCreature*>(Game::instance().level->find_by_id(7));
    auto* mover = state<PhysicalMoveState>(0);
    ASSERT_TRUE(walker && mover);
    int reached = -1;
    for (int frame = 0; frame < 1000 && reached < 0; ++frame) {
        tick();
        const Vector2 p = walker->body.transform.position;
        // It never jumps; it lands a little below the strip's line and is lifted onto it.
        EXPECT_LE(p.y, 5.0f) << frame;
        EXPECT_GE(p.y, -10.0f) << frame;
        if (p.x >= 200) {
            reached = frame;
            EXPECT_TRUE(mover->need_target);
            EXPECT_TRUE(static_cast<bool>(walker->body.ground));
            EXPECT_EQ(p.y, 0.0f);
        } else {
            EXPECT_FALSE(mover->need_target) << frame;
        }
    }
    ASSERT_GE(reached, 0) << "the walker never got there";
    // Walking with a push of 400 against a drag of 5 it settles at 80 units per second.
    EXPECT_NEAR(walker->body.vx, 80.0f, 8.0f);
    // It turns back for the same point and ends up pacing around it.
    tick(200);
    EXPECT_NEAR(walker->body.transform.position.x, 200.0f, 30.0f);
}

TEST_F(AIScriptTest, RunawayFleesFromANearPlayerAndResumesItsPathWithoutAdvancing) {
    begin(R"(
        flat_level()
        hero(-2000, 0)
        critter('r', 0, 0, 1000)
        path(true, {{0, 0}, {100, 0}, {200, 0}})
        lf:create_ai('r', 'runaway')
    )");
    auto* runaway = state<RunawayState>(0);
    ASSERT_NE(runaway, nullptr);
    tick(5);
    // On its path towards waypoint 2.
    EXPECT_EQ(runaway->target, (Vector2{200, 0}));
    EXPECT_FALSE(runaway->fleeing);
    EXPECT_EQ(position("r"), (Vector2{50, 0}));
    const int32_t index = runaway->agent->index;

    // The player comes within 350 units: the creature heads for the point 350 units from the
    // player on the line through itself, re-aimed every frame.
    const Vector2 players[] = {{300, 0}, {300, 60}, {260, -90}, {0, 200}};
    for (Vector2 p : players) {
        player()->body.transform.position = p;
        const Vector2 r = position("r");
        ASSERT_LE(distance(r, p), 350.0f);
        tick();
        EXPECT_TRUE(runaway->fleeing);
        EXPECT_NEAR(distance(runaway->target, p), 350.0f, 1e-3f);
        // On the far side of the creature, on the line from the player.
        const Vector2 to_r = r - p, to_t = runaway->target - p;
        EXPECT_NEAR(cross(to_r, to_t), 0.0f, 0.5f);
        EXPECT_GT(dot(to_r, to_t), 0.0f);
        EXPECT_EQ(runaway->agent->index, index);
    }

    // The player goes away: back to waypoint 2, from the unchanged walker.
    player()->body.transform.position = {-2000, 0};
    tick();
    EXPECT_FALSE(runaway->fleeing);
    EXPECT_EQ(runaway->target, (Vector2{200, 0}));
    EXPECT_EQ(runaway->agent->index, index);
    // And on along the loop: 2, then 0.
    for (int i = 0; i < 200 && runaway->target == Vector2(200, 0); ++i)
        tick();
    EXPECT_EQ(runaway->target, (Vector2{0, 0}));
}

TEST_F(AIScriptTest, RunawayWithoutAPlayerKeepsToItsPath) {
    begin(
        "critter('r', 0, 0, 1000) path(false, {{0, 0}, {100, 0}, {200, 0}}) "
        "lf:create_ai('r', 'runaway')");
    tick(3);
    EXPECT_FALSE(state<RunawayState>(0)->fleeing);
    EXPECT_EQ(position("r"), (Vector2{30, 0}));
}

TEST(FleeTarget, LiesOnTheLineFromThePlayerThroughTheCreature) {
    struct Case {
        Vector2 creature, player, target;
    } cases[] = {
        {{100, 0}, {0, 0}, {350, 0}},
        {{0, -10}, {0, 0}, {0, -350}},
        {{30, 40}, {0, 0}, {210, 280}},
        {{-5, 0}, {10, 0}, {-340, 0}},
        // On the same spot: straight to the right of the player.
        {{7, 8}, {7, 8}, {357, 8}},
    };
    for (const Case& c : cases) {
        const Vector2 t = flee_target(c.creature, c.player);
        EXPECT_NEAR(t.x, c.target.x, 1e-3f);
        EXPECT_NEAR(t.y, c.target.y, 1e-3f);
    }
}

TEST_F(AIScriptTest, RemovedCreatureTakesItsStatesAlong) {
    begin(R"(
        flat_level()
        critter('a', 0, 0, 100) path(true, {{0, 0}, {100, 100}}) lf:create_ai('a', 'patrol')
        lf:gameobject_upload('a', 0, 11)
        critter('b', 0, 0, 100) path(true, {{0, 0}, {100, 100}}) lf:create_ai('b', 'patrol')
        lf:create_ai('b', 'runaway')
        lf:gameobject_upload('b', 0, 12)
    )");
    ASSERT_EQ(states().size(), 3u);
    tick();
    ASSERT_EQ(lua("lf:creature_remove(12)"), "");
    tick();
    ASSERT_EQ(states().size(), 1u);
    EXPECT_EQ(states()[0]->creature, Game::instance().level->find_by_id(11));
    // A new level takes the rest, creature and all.
    ASSERT_EQ(lua("flat_level()"), "");
    tick(3);
    EXPECT_TRUE(states().empty());
}

TEST_F(AIScriptTest, DamageWithoutADeathEffectNeverHurts) {
    begin("flat_level() hero(0, 0) lf:set_hp(1, 0, 0.05, 0) lf:damage(5, 0)");
    tick(300);
    EXPECT_EQ(player()->health.hp, 1.0f);
    EXPECT_NE(player()->state, Player::dead);
}

TEST_F(AIScriptTest, HalfAHitPointPerSecondKillsInTwoSecondsAndTheDeathScriptRunsEveryFrame) {
    write_file("Data/Scripts/died.lua", "deaths = deaths + 1");
    begin(R"(
        flat_level() hero(0, 0)
        lf:creature_drag('hero', 0, 5, 'Data/Scripts/died.lua')
        lf:create_sprite('fx', 0, '', 0, 0)
        lf:set_death_effect('fx', 1, 0, 1, 0.5)
        lf:set_hp(1, 0, 0.05, 0)
        lf:damage(0.5, 0)
    )");
    int frames = 0;
    while (player()->state != Player::dead && frames < 1000) {
        EXPECT_EQ(lua_number("deaths"), 0);
        tick();
        ++frames;
    }
    EXPECT_NEAR(frames * 0.01f, 2.0f, 0.03f);
    tick(10);
    EXPECT_EQ(lua_number("deaths"), 10);
    // A level change stands the player up with full health; the script stops.
    ASSERT_EQ(lua("lf:reset_all_extra_for_level_change()"), "");
    EXPECT_EQ(player()->health.hp, 1.0f);
    EXPECT_EQ(player()->health.state, Health::idle);
    tick(5);
    EXPECT_EQ(lua_number("deaths"), 10);
    EXPECT_NE(player()->state, Player::dead);
}

TEST_F(AIScriptTest, DeathScriptThatRebuildsTheLevelWhileCreaturesPatrol) {
    // The death script replaces the level, its creatures and their AI from inside the player's
    // update; the old level and states go once nothing visits them.
    write_file("Data/Scripts/died.lua", R"(
        deaths = deaths + 1
        lf:reset_all_extra_for_level_change()
        build()
    )");
    begin(R"(
        function build()
            flat_level()
            for i = 1, 5 do
                local n = 'c' .. i
                critter(n, i * 10, 0, 300)
                path(i % 2 == 0, {{0, 0}, {100, 50}, {-100, 20}})
                lf:create_ai(n, i % 3 == 0 and 'physicalmove' or 'patrol')
                lf:gameobject_upload(n, 0, i)
            end
            lf:upload_player_to_layer(0)
            lf:damage(100, 0)
        end
        hero(0, 0)
        lf:creature_drag('hero', 0, 5, 'Data/Scripts/died.lua')
        lf:create_sprite('fx', 0, '', 0, 0)
        lf:set_death_effect('fx', 1, 0, 1, 1)
        build()
    )");
    tick(100);
    EXPECT_GE(lua_number("deaths"), 10);
    EXPECT_EQ(states().size(), 5u);
    for (const auto& s : states())
        EXPECT_TRUE(std::isfinite(s->creature->body.transform.position.x));
}

TEST_F(AIScriptTest, TheEffectShowsOnlyWhileHealthIsNotFull) {
    begin(R"(
        flat_level() hero(0, 0)
        lf:create_sprite('fx', 0, '', 0, 0)
        lf:sprite_shape('fx', 0, 50, 50)
        lf:sprite_color('fx', 1, 0, 0, 1)
        -- Fully opaque once a tenth of the health is gone; always the same size.
        lf:set_death_effect('fx', 1, -10, 1, 1)
        lf:set_hp(1, 0.05, 0.5, 0)
    )");
    tick();
    const Pixel background = pixel(640, 360);
    const auto red = [](Pixel p) { return p.r == 255 && p.g == 0 && p.b == 0; };
    EXPECT_FALSE(red(background)) << background;
    ASSERT_EQ(lua("lf:damage(1, 0)"), "");
    tick(30);
    EXPECT_TRUE(red(pixel(640, 360))) << pixel(640, 360);
    // Damage stops: the wait, then regeneration to full, and the effect is gone.
    ASSERT_EQ(lua("lf:damage(0, 1)"), "");
    tick(10);
    EXPECT_EQ(player()->health.hp, 1.0f);
    EXPECT_EQ(pixel(640, 360), background);
}

TEST_F(AIScriptTest, HealthFunctionsDoNothingWithoutAPlayer) {
    begin(R"(
        lf:create_sprite('fx', 0, '', 0, 0)
        lf:set_death_effect('fx', 1, 0, 1, 1)
        lf:set_hp(5, 1, 1, 0)
        lf:damage(1, 0)
    )");
    tick(10);
    // The sprite stays where the script put it.
    EXPECT_NE(TempLists::instance().game_objects.find("fx"), nullptr);
    // A player made afterwards starts from the defaults.
    ASSERT_EQ(lua("lf:create_creature('p', 0, '', '', '', '')"), "");
    EXPECT_EQ(player()->health.max, 1.0f);
    EXPECT_EQ(player()->health.rate, 0.0f);
    EXPECT_EQ(player()->health.effect, nullptr);
}

TEST_F(AIScriptTest, SetDeathEffectTakesOnlyASpriteAndAlwaysFreesTheName) {
    begin(R"(
        lf:create_creature('p', 0, '', '', '', '')
        lf:create_sprite('glow', 0, '', 0, 0)
        lf:set_death_effect('glow', 0.5, 0.1, 2, 0.25)
        critter('w', 0, 0, 1)
        lf:set_death_effect('w', 0.7, 0.2, 3, 0.5)
        lf:set_death_effect('absent', 0.9, 0.3, 4, 0.75)
    )");
    const Health& h = player()->health;
    ASSERT_NE(h.effect, nullptr);
    EXPECT_EQ(TempLists::instance().game_objects.find("glow"), nullptr);
    // Not a sprite: the name goes, the old effect stays; the numbers are stored every time.
    EXPECT_EQ(TempLists::instance().game_objects.find("w"), nullptr);
    EXPECT_EQ(h.reset_alpha, 0.9f);
    EXPECT_EQ(h.base_alpha, 0.3f);
    EXPECT_EQ(h.full_scale, 4.0f);
    EXPECT_EQ(h.empty_scale, 0.75f);
}
