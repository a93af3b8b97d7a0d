// The broad phase changes which pairs of gates are tested, never what happens: random scenes of
// moving gates, groups and scripts that add, move, remove and use triggers and replace the level
// in the middle of the walk run the same scripts, in the same order, with the same parameters,
// with the broad phase as without it.
#include <lua.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "Mechanisms/AreaTrigger.h"
#include "Mechanisms/GateTrigger.h"
#include "Mechanisms/TriggerManager.h"
#include "Physics/Bounds.h"
#include "Physics/CircleShape.h"
#include "Physics/Collision.h"
#include "Physics/PolygonShape.h"
#include "Scene/GameObject.h"
#include "Scene/Level.h"
#include "Scene/TempLists.h"
#include "Shell/Game.h"
#include "Support/Dice.h"
#include "Support/EngineTest.h"

namespace {

TriggerManager& manager() {
    return *Game::instance().triggers;
}

std::vector<AreaTrigger*> area_triggers() {
    std::vector<AreaTrigger*> list;
    for (Trigger* t : manager().triggers())
        if (t->kind() != Trigger::timed_type)
            list.push_back(static_cast<AreaTrigger*>(t));
    return list;
}

AreaTrigger* area_by_id(int32_t id) {
    for (AreaTrigger* t : area_triggers())
        if (t->id == id)
            return t;
    return nullptr;
}

// Functions the scene's scripts call besides the engine's own: they move a trigger as a creature
// carrying it would, take one out as its owner would, and use the use triggers with one, as
// the player does.
int move_trigger(lua_State* L) {
    const auto id = static_cast<int32_t>(luaL_checkinteger(L, 1));
    const auto dx = static_cast<float>(luaL_checknumber(L, 2));
    const auto dy = static_cast<float>(luaL_checknumber(L, 3));
    for (AreaTrigger* t : area_triggers())
        if (t->id == id)
            t->transform.position += Vector2{dx, dy};
    return 0;
}

int drop_trigger(lua_State* L) {
    if (AreaTrigger* t = area_by_id(static_cast<int32_t>(luaL_checkinteger(L, 1))))
        manager().remove(t);
    return 0;
}

int use_with(lua_State* L) {
    manager().use_triggers(area_by_id(static_cast<int32_t>(luaL_checkinteger(L, 1))));
    return 0;
}

// A game object carrying a gate of its own, as creatures do: remove_gameobject takes it and its
// gate away.
class Carrier : public GameObject {
  public:
    explicit Carrier(std::unique_ptr<AreaTrigger> t) : trigger(std::move(t)) {
        manager().add_carried(trigger.get());
    }
    ~Carrier() override { manager().remove(trigger.get()); }
    void draw(Renderer&, const Color&) override {}
    bool update(float) override { return false; }
    std::unique_ptr<AreaTrigger> trigger;
};

// Helpers of the scene's scripts: a gate or use trigger made through the script functions, with
// a circle, a box, a regular polygon or a polygon of given vertices (which need not be convex).
const char* const prelude = R"(
    lf = LuaFunctions()
    calls = {}
    made = 0
    function area(name, kind, id, x, y, shape, belong, can, first, second)
        lf:create_trigger(name, kind, first, second, x, y)
        local s = name .. '_shape'
        if shape[1] == 'circle' then
            lf:create_circle(s, shape[2], shape[3], shape[4])
        elseif shape[1] == 'box' then
            lf:create_shape(s, 3, shape[2], shape[3])
        elseif shape[1] == 'regular' then
            lf:create_shape(s, 2, shape[2], shape[3])
        else
            lf:create_shape(s, 1, #shape - 1, 0)
            for i = 2, #shape do lf:shape_vertex(s, i - 2, shape[i][1], shape[i][2]) end
        end
        lf:trigger_shape(name, kind, s)
        for _, g in ipairs(belong) do lf:trigger_add_group_i_belong_to(name, kind, g) end
        for _, g in ipairs(can) do lf:trigger_add_group_can_use_me(name, kind, g) end
    end
    -- Each script logs itself with its parameter, then does its part.
    function say(what) calls[#calls + 1] = what .. parameter end
    -- A spawner meets what it spawns in the same walk: a limit keeps that from going on forever.
    function spawn(id, x, y)
        if made >= 60 then return end
        made = made + 1
        local name = 'spawned' .. made
        area(name, 0, id, x, y, {'circle', 0, 0, 20 + made % 30}, {'a'}, {'everyone'},
             'Data/Scripts/enter.lua', 'Data/Scripts/leave.lua')
        lf:trigger_upload(name, id)
    end
)";

struct ScriptFile {
    const char* path;
    const char* text;
};

const ScriptFile scripts[] = {
    {"Data/Scripts/enter.lua", "say('E')"},
    {"Data/Scripts/leave.lua", "say('L')"},
    {"Data/Scripts/use.lua", "say('U')"},
    {"Data/Scripts/timed.lua", "say('T') move_trigger(parameter - 500, 17, -9)"},
    {"Data/Scripts/move.lua", "say('M') move_trigger(parameter, (parameter % 7 - 3) * 11, 23)"},
    {"Data/Scripts/push.lua", "say('P') move_trigger(parameter + 1, -40, 0)"},
    {"Data/Scripts/spawn.lua", "say('S') spawn(900 + made, (parameter % 9) * 40 - 160, 10)"},
    {"Data/Scripts/drop.lua", "say('D') drop_trigger(parameter + 2)"},
    {"Data/Scripts/remove.lua", "say('X') lf:remove_gameobject(1000 + parameter % 4)"},
    {"Data/Scripts/use_it.lua", "say('Y') use_with(parameter)"},
    {"Data/Scripts/replace.lua", R"(
        say('R')
        lf:create_level(0, 0, 0, 0)
        lf:create_layer(1, 1, 0)
        spawn(800, 0, 0)
        spawn(801, 15, 5)
        spawn(802, 300, 0)
    )"},
};

// Enter and leave scripts, the quiet ones (logging only) most often.
const char* const enter_scripts[] = {"enter", "enter", "enter", "enter",  "move",
                                     "push",  "spawn", "drop",  "remove", "use_it"};
const char* const leave_scripts[] = {"leave", "leave", "leave", "move", "push", "drop", ""};

std::string script_path(const char* name) {
    return *name ? std::string("Data/Scripts/") + name + ".lua" : std::string();
}

std::string groups(Dice& dice) {
    static const char* const names[] = {"a", "b", "c", "everyone"};
    std::string list = "{";
    const int n = dice.below(10) == 0 ? 0 : 1 + dice.below(2);
    for (int i = 0; i < n; ++i)
        list += std::string(i ? ", '" : "'") + names[dice.below(4)] + "'";
    return list + "}";
}

std::string shape(Dice& dice) {
    std::ostringstream s;
    switch (dice.below(9)) {
        case 0:
        case 1:
        case 2:
            s << "{'circle', " << dice.between(-10, 10) << ", " << dice.between(-10, 10) << ", "
              << dice.between(3, 60) << "}";
            break;
        case 3:
        case 4:
        case 5:
            s << "{'box', " << dice.between(2, 60) << ", " << dice.between(2, 60) << "}";
            break;
        case 6:
            s << "{'regular', " << 3 + dice.below(6) << ", " << dice.between(5, 50) << "}";
            break;
        case 7:
            // A circle with a negative radius, which the overlap test squares.
            s << "{'circle', 0, 0, " << -dice.between(3, 40) << "}";
            break;
        default: {
            // Vertices in any order: concave, clockwise or crossing polygons.
            s << "{'polygon'";
            const int n = 3 + dice.below(4);
            for (int i = 0; i < n; ++i)
                s << ", {" << dice.between(-50, 50) << ", " << dice.between(-50, 50) << "}";
            s << "}";
        }
    }
    return s.str();
}

// The start-up script of one scene: gates, use triggers and timed triggers, all through the
// script functions, in a level of one layer.
std::string scene_script(Dice& dice, int gates) {
    std::ostringstream s;
    s << "lf:create_level(0, 0, 0, 0)\nlf:create_layer(1, 1, 0)\n";
    for (int i = 0; i < gates; ++i) {
        const int id = i + 1;
        const bool use = dice.below(8) == 0;
        s << "area('t" << id << "', " << (use ? 1 : 0) << ", " << id << ", "
          << dice.between(-500, 500) << ", " << dice.between(-150, 150) << ", " << shape(dice)
          << ", " << groups(dice) << ", " << groups(dice) << ", '"
          << (use ? std::string("Data/Scripts/use.lua")
              : dice.below(150) == 0
                  ? script_path("replace")
                  : script_path(enter_scripts[dice.below(std::size(enter_scripts))]))
          << "', '" << script_path(leave_scripts[dice.below(std::size(leave_scripts))]) << "')\n";
        // A few stay in the temp list for a carrier to take.
        if (use || i >= 4)
            s << "lf:trigger_upload('t" << id << "', " << id << ")\n";
    }
    for (int i = 0; i < 2; ++i) {
        s << "lf:create_trigger('clock" << i << "', 2, 'Data/Scripts/timed.lua', '', 0, 0)\n"
          << "lf:timed_trigger_repeat('clock" << i << "', " << dice.between(0.02f, 0.2f) << ", "
          << (i == 0 ? "true" : "false") << ")\n"
          << "lf:trigger_upload('clock" << i << "', " << 500 + 1 + dice.below(gates) << ")\n";
    }
    return s.str();
}

}  // namespace

class TriggerBroadPhaseTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        for (const ScriptFile& f : scripts)
            write_file(f.path, f.text);
        start(prelude);
        lua_register(L(), "move_trigger", move_trigger);
        lua_register(L(), "drop_trigger", drop_trigger);
        lua_register(L(), "use_with", use_with);
    }

    // Builds the scene of a seed and runs it for a number of frames; returns every script call.
    std::string run_scene(uint32_t seed, bool broad_phase) {
        // Nothing of the previous run is left: no triggers, no carriers, no logs.
        for (Trigger* t : manager().triggers())
            manager().remove(t);
        EXPECT_EQ(lua("calls = {} made = 0"), "");
        manager().set_broad_phase(broad_phase);
        Dice dice{seed};
        const int gates = 20 + dice.below(100);
        EXPECT_EQ(lua(scene_script(dice, gates)), "");
        // The first four gates go to carriers with ids 1000 to 1003.
        for (int i = 0; i < 4; ++i) {
            const std::string name = std::string("t").append(std::to_string(i + 1));
            auto trigger = std::unique_ptr<AreaTrigger>(
                static_cast<AreaTrigger*>(TempLists::instance().triggers.take(name).release()));
            if (!trigger)
                continue;
            trigger->id = i + 1;
            auto carrier = std::make_unique<Carrier>(std::move(trigger));
            carrier->id = 1000 + i;
            Game::instance().level->layer_at(0)->add_object(std::move(carrier));
        }
        // Turned and scaled, now and then not as a rotation: mirrored or skewed frames.
        for (AreaTrigger* t : area_triggers()) {
            if (dice.below(3) == 0)
                t->transform.set_rotation(dice.between(-3.2f, 3.2f));
            if (dice.below(4) == 0)
                t->transform.scale = dice.between(0.2f, 2.5f) * (dice.below(6) == 0 ? -1 : 1);
            if (dice.below(25) == 0)
                t->transform.axis_x = {-1, 0};
            if (dice.below(25) == 0)
                t->transform.axis_y = {0.3f, 1};
        }

        const int frames = 40;
        for (int frame = 0; frame < frames; ++frame) {
            // Between frames gates move, some far, and now and then one uses what it touches.
            std::vector<AreaTrigger*> list = area_triggers();
            for (AreaTrigger* t : list) {
                if (dice.below(3) != 0)
                    continue;
                const float reach = dice.below(10) == 0 ? 300.0f : 25.0f;
                t->transform.position +=
                    Vector2{dice.between(-reach, reach), dice.between(-reach, reach)};
            }
            if (!list.empty() && dice.below(4) == 0)
                manager().use_triggers(
                    list[static_cast<size_t>(dice.below(static_cast<int>(list.size())))]);
            tick(1, dice.between(0.01f, 0.03f));
        }
        EXPECT_EQ(lua("all_calls = table.concat(calls, ' ')"), "");
        return lua_string("all_calls");
    }
};

TEST_F(TriggerBroadPhaseTest, RandomScenesCallTheSameScriptsInTheSameOrderWithOrWithout) {
    size_t calls = 0;
    for (uint32_t seed = 1; seed <= 30; ++seed) {
        const uint64_t before = manager().pair_tests();
        const std::string without = run_scene(seed, false);
        const uint64_t all_pairs = manager().pair_tests() - before;
        const std::string with = run_scene(seed, true);
        const uint64_t broad_pairs = manager().pair_tests() - before - all_pairs;
        ASSERT_EQ(with, without) << "seed " << seed;
        // The broad phase was at work: it tested far fewer pairs.
        EXPECT_LT(broad_pairs * 2, all_pairs) << "seed " << seed;
        calls += static_cast<size_t>(std::count(with.begin(), with.end(), ' '));
    }
    // Scenes that called next to nothing would prove nothing.
    EXPECT_GT(calls, 3000u);
}

// The boxes hold every shape a placed shape overlaps, for shapes the separating-axis test can be
// trusted with; for any other no box is promised.
TEST(OverlapBounds, EveryOverlapFallsInsideTheBoxesOrNoBoxIsPromised) {
    Dice dice{99};
    auto random_shape = [&]() -> std::unique_ptr<Shape> {
        switch (dice.below(4)) {
            case 0:
                return std::make_unique<CircleShape>(dice.between(-5, 5), dice.between(-5, 5),
                                                     dice.between(-30, 30));
            case 1:
                return PolygonShape::box(dice.between(-30, 30), dice.between(-30, 30));
            case 2:
                return PolygonShape::regular(1 + dice.below(8), dice.between(-30, 30));
            default: {
                auto p = std::make_unique<PolygonShape>(3 + dice.below(3));
                for (int i = 0; i < p->count(); ++i)
                    p->set_vertex(i, dice.between(-30, 30), dice.between(-30, 30));
                return p;
            }
        }
    };
    auto random_transform = [&] {
        Transform t;
        t.position = {dice.between(-60, 60), dice.between(-60, 60)};
        t.set_rotation(dice.between(-3.2f, 3.2f));
        t.scale = dice.below(10) == 0 ? 0.0f : dice.between(-2, 2);
        if (dice.below(10) == 0)
            t.axis_x = {-t.axis_x.x, -t.axis_x.y};
        return t;
    };
    int overlapping = 0, unbounded = 0;
    for (int i = 0; i < 600000; ++i) {
        const auto a = random_shape(), b = random_shape();
        const Transform xa = random_transform(), xb = random_transform();
        if (!overlaps(*a, xa, *b, xb))
            continue;
        ++overlapping;
        Bounds ba, bb;
        const Reach ra = overlap_bounds(*a, xa, ba), rb = overlap_bounds(*b, xb, bb);
        ASSERT_NE(ra, Reach::nothing) << "case " << i;
        ASSERT_NE(rb, Reach::nothing) << "case " << i;
        if (ra == Reach::anything || rb == Reach::anything) {
            ++unbounded;
            continue;
        }
        ASSERT_TRUE(ba.meets(bb)) << "case " << i;
    }
    EXPECT_GT(overlapping - unbounded, 12000);
}

TEST(OverlapBounds, PlainShapesGetTightBoxesAndOddOnesNone) {
    Transform t;
    t.position = {100, 50};
    Bounds box;
    ASSERT_EQ(overlap_bounds(CircleShape(5, 0, -10), t, box), Reach::bounded);
    EXPECT_NEAR(box.left, 95, 0.1f);
    EXPECT_NEAR(box.right, 115, 0.1f);
    EXPECT_NEAR(box.bottom, 40, 0.1f);
    EXPECT_NEAR(box.top, 60, 0.1f);
    t.set_rotation(std::atan(1.0f));
    ASSERT_EQ(overlap_bounds(*PolygonShape::box(10, 10), t, box), Reach::bounded);
    EXPECT_NEAR(box.right - box.left, 20 * std::sqrt(2.0f), 0.1f);

    EXPECT_EQ(overlap_bounds(PolygonShape(0), t, box), Reach::nothing);
    // Clockwise, not convex, crossing itself, or placed by a mirror or no scale at all.
    EXPECT_EQ(overlap_bounds(*PolygonShape::box(-10, 10), t, box), Reach::anything);
    PolygonShape dart(4);
    for (auto [i, x, y] : {std::tuple{0, 0.f, 0.f}, {1, 10.f, 5.f}, {2, 0.f, 10.f}, {3, 3.f, 5.f}})
        dart.set_vertex(i, x, y);
    EXPECT_EQ(overlap_bounds(dart, t, box), Reach::anything);
    EXPECT_EQ(overlap_bounds(*PolygonShape::regular(5, 10), Transform{}, box), Reach::bounded);
    PolygonShape star(5);
    for (int i = 0; i < 5; ++i) {
        const float a = 8 * std::atan(1.0f) * 2 * i / 5;
        star.set_vertex(i, 10 * std::cos(a), 10 * std::sin(a));
    }
    EXPECT_EQ(overlap_bounds(star, Transform{}, box), Reach::anything);
    Transform mirrored;
    mirrored.axis_x = {-1, 0};
    EXPECT_EQ(overlap_bounds(*PolygonShape::box(10, 10), mirrored, box), Reach::anything);
    Transform flat;
    flat.scale = 0;
    EXPECT_EQ(overlap_bounds(*PolygonShape::box(10, 10), flat, box), Reach::anything);
    Transform lost;
    lost.position = {NAN, 0};
    EXPECT_EQ(overlap_bounds(CircleShape(0, 0, 1), lost, box), Reach::anything);
}
