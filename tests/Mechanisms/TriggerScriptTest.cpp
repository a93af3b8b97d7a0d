// Triggers as scripts build them, fired by the game's frames.
#include <cmath>

#include "Creatures/Player.h"
#include "Mechanisms/GateTrigger.h"
#include "Mechanisms/TimedTrigger.h"
#include "Mechanisms/TriggerManager.h"
#include "Mechanisms/UseTrigger.h"
#include "Physics/CircleShape.h"
#include "Scene/Level.h"
#include "Scene/TempLists.h"
#include "Script/ScriptHost.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"
#include "Support/ProbeObject.h"

namespace {

// Helpers every test's start-up script gets: a log the trigger scripts write to, and a gate
// made in one call.
const char* const prelude = R"(
    lf = LuaFunctions()
    log = ''
    -- A timed trigger uploaded with the id, running script (timed.lua when not given).
    function timer(name, id, period, repeating, script)
        lf:create_trigger(name, 2, script or 'Data/Scripts/timed.lua', '', 0, 0)
        lf:timed_trigger_repeat(name, period, repeating)
        lf:trigger_upload(name, id)
    end
    function gate(name, id, x, y, r, belong, can, enter, leave)
        lf:create_trigger(name, 0, enter or 'Data/Scripts/enter.lua',
                          leave or 'Data/Scripts/leave.lua', x, y)
        lf:create_circle(name .. '_shape', 0, 0, r)
        lf:trigger_shape(name, 0, name .. '_shape')
        for _, g in ipairs(belong or {}) do lf:trigger_add_group_i_belong_to(name, 0, g) end
        for _, g in ipairs(can or {}) do lf:trigger_add_group_can_use_me(name, 0, g) end
        lf:trigger_upload(name, id)
    end
)";

// A game object that carries a gate trigger of its own, as creatures and hammers do: it puts the
// trigger into the manager and takes it out again when it is destroyed.
class Carrier : public GameObject {
  public:
    explicit Carrier(std::unique_ptr<AreaTrigger> t) : trigger(std::move(t)) {
        Game::instance().triggers->add_carried(trigger.get());
    }
    ~Carrier() override { Game::instance().triggers->remove(trigger.get()); }
    void draw(Renderer&, const Color&) override {}
    bool update(float) override { return false; }
    std::unique_ptr<AreaTrigger> trigger;
};

}  // namespace

class TriggerScriptTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        write_file("Data/Scripts/enter.lua", "log = log .. 'E' .. parameter .. ' '");
        write_file("Data/Scripts/leave.lua", "log = log .. 'L' .. parameter .. ' '");
        write_file("Data/Scripts/timed.lua", "log = log .. 'T' .. parameter .. ' '");
        write_file("Data/Scripts/use.lua", "log = log .. 'U' .. parameter .. ' '");
    }
    void begin(const std::string& script = "") { start(std::string(prelude) + script); }

    TriggerManager& manager() { return *Game::instance().triggers; }
    Trigger* by_id(int32_t id) {
        for (Trigger* t : manager().triggers())
            if (t->id == id)
                return t;
        return nullptr;
    }
    AreaTrigger* area(int32_t id) { return dynamic_cast<AreaTrigger*>(by_id(id)); }
    std::vector<int32_t> ids() {
        std::vector<int32_t> list;
        for (Trigger* t : manager().triggers())
            list.push_back(t->id);
        return list;
    }
    std::vector<std::string> events;
    // The log the trigger scripts wrote since the last call.
    std::string take_log() {
        std::string s = lua_string("log");
        lua("log = ''");
        return s;
    }
};

TEST_F(TriggerScriptTest, GatesFireEnterOnceAndLeaveOncePerOverlap) {
    begin(R"(
        gate('door', 1, 0, 0, 10, {'level'}, {'hero'})
        gate('hero', 2, 100, 0, 10, {'hero'}, {'level'})
        gate('stranger', 3, 0, 0, 10, {'nobody'}, {'nobody'})
    )");
    AreaTrigger* hero = area(2);
    ASSERT_NE(hero, nullptr);
    tick();
    EXPECT_EQ(take_log(), "");
    // Overlapping: each of the pair fires its own enter script in the same frame, in list order.
    hero->transform.position = {15, 0};
    tick();
    EXPECT_EQ(take_log(), "E1 E2 ");
    tick(5);
    hero->transform.position = {12, 3};
    tick();
    EXPECT_EQ(take_log(), "");
    // Only touching is not overlapping.
    hero->transform.position = {20, 0};
    tick();
    EXPECT_EQ(take_log(), "L1 L2 ");
    tick(3);
    EXPECT_EQ(take_log(), "");
    // In and out within consecutive frames.
    hero->transform.position = {0, 0};
    tick();
    hero->transform.position = {-50, 0};
    tick();
    EXPECT_EQ(take_log(), "E1 E2 L1 L2 ");
}

TEST_F(TriggerScriptTest, GroupMatrixDecidesWhichGateFires) {
    // Each case is a pair far from the others: a gate with an id that logs its enter, and a
    // silent partner over it whose can-use-me list is tested.
    struct Case {
        const char* belongs;
        const char* can_use_me;
        bool fires;
    } cases[] = {
        {"{}", "{'everyone'}", false},
        {"{'everyone'}", "{}", false},
        {"{'everyone'}", "{'coin'}", true},
        {"{'player'}", "{'everyone'}", true},
        {"{'player'}", "{'enemy'}", false},
        {"{'player'}", "{'enemy', 'player'}", true},
        {"{'enemy', 'player'}", "{'player'}", true},
        {"{'player', 'enemy', 'everyone'}", "{'x'}", true},
        {"{'everyone', 'player'}", "{'x'}", false},
        {"{'player'}", "{'everyone', 'enemy'}", false},
    };
    std::string script;
    std::string expected;
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::string x = std::to_string(i * 100), id = std::to_string(i + 1);
        script +=
            "gate('a" + id + "', " + id + ", " + x + ", 0, 10, " + cases[i].belongs + ", {})\n";
        script += "gate('b" + id + "', 0, " + x + ", 5, 10, {}, " + cases[i].can_use_me + ")\n";
        if (cases[i].fires)
            expected += "E" + id + " ";
    }
    begin(script);
    tick();
    EXPECT_EQ(take_log(), expected);
    tick(3);
    EXPECT_EQ(take_log(), "");
}

TEST_F(TriggerScriptTest, TimedTriggersFireOnceOrEveryPeriod) {
    begin(R"(
        lf:create_trigger('blink', 2, 'Data/Scripts/timed.lua', 'ignored', 5, 5)
        lf:timed_trigger_repeat('blink', 0.5, true)
        lf:trigger_upload('blink', 7)
        timer('once', 8, 0.29, false)
    )");
    std::vector<int> blink_frames, once_frames;
    for (int frame = 1; frame <= 200; ++frame) {
        tick(1, 0.02f);
        const std::string log = take_log();
        if (log.find("T7") != std::string::npos)
            blink_frames.push_back(frame);
        if (log.find("T8") != std::string::npos)
            once_frames.push_back(frame);
    }
    EXPECT_EQ(blink_frames, (std::vector<int>{25, 50, 75, 100, 125, 150, 175, 200}));
    EXPECT_EQ(once_frames, (std::vector<int>{15}));
    EXPECT_EQ(ids(), (std::vector<int32_t>{7}));

    // A long frame passes two periods but fires once and carries the rest over.
    tick(1, 1.2f);
    EXPECT_EQ(take_log(), "T7 ");
    auto* blink = dynamic_cast<TimedTrigger*>(by_id(7));
    ASSERT_NE(blink, nullptr);
    EXPECT_NEAR(blink->timer.elapsed, 0.2f, 1e-5);
    EXPECT_EQ(blink->timer.ticks, 0);
    tick(1, 0.31f);
    EXPECT_EQ(take_log(), "T7 ");
}

TEST_F(TriggerScriptTest, UseTriggersFireForTheUserInListOrderAndNeverFromUpdate) {
    begin(R"(
        lf:create_level(0, 0, 0, 0)
        function use(name, id, x, belong)
            lf:create_trigger(name, 1, 'Data/Scripts/use.lua', 'Data/Scripts/enter.lua', x, 0)
            lf:create_shape(name .. '_box', 3, 10, 10)
            lf:trigger_shape(name, 1, name .. '_box')
            lf:trigger_add_group_i_belong_to(name, 1, belong)
            lf:trigger_upload(name, id)
        end
        use('chest', 21, 0, 'items')
        use('lever', 22, 5, 'everyone')
        use('far', 23, 300, 'items')
        use('locked', 24, 0, 'keys')
        -- The player's trigger, waiting for its owner.
        lf:create_trigger('me', 0, '', '', 0, 0)
        lf:create_circle('me_c', 0, 0, 8)
        lf:trigger_shape('me', 0, 'me_c')
        lf:trigger_add_group_can_use_me('me', 0, 'items')
    )");
    // The player's trigger goes into the manager as the player does when it is placed.
    std::unique_ptr<Trigger> me = TempLists::instance().triggers.take("me");
    ASSERT_NE(me, nullptr);
    Ref<AreaTrigger> user = static_cast<AreaTrigger*>(manager().add(std::move(me)));

    tick(5);
    EXPECT_EQ(take_log(), "");
    manager().use_triggers(user.get());
    EXPECT_EQ(take_log(), "U21 U22 ");
    manager().use_triggers(nullptr);
    EXPECT_EQ(take_log(), "");

    // A new level takes the gate and use triggers, the player's among them.
    lua("lf:create_level(0, 0, 0, 0)");
    EXPECT_FALSE(user);
    EXPECT_EQ(manager().count(), 0u);
}

TEST_F(TriggerScriptTest, ScriptOfAGateMayReplaceTheLevel) {
    write_file("Data/Scripts/replace.lua", R"(
        log = log .. 'R' .. parameter .. ' '
        lf:create_level(0, 0, 0, 0)
        lf:create_layer(1, 1, 0)
        gate('new_a', 31, 500, 0, 10, {'g'}, {'g'})
        gate('new_b', 32, 505, 0, 10, {'g'}, {'g'})
    )");
    begin(R"(
        lf:create_level(0, 0, 0, 0)
        lf:create_layer(1, 1, 0)
        lf:create_layer(1, 1, 0)
        timer('clock', 5, 0.01, true)
        gate('old_a', 1, 0, 0, 10, {'g'}, {'g'}, 'Data/Scripts/replace.lua')
        gate('old_b', 2, 5, 0, 10, {'g'}, {'g'})
        gate('old_c', 3, 5, 5, 10, {'g'}, {'g'})
    )");
    // A trigger of the player in the manager goes with the old level too.
    Ref<AreaTrigger> player =
        static_cast<AreaTrigger*>(manager().add(std::make_unique<GateTrigger>()));
    ASSERT_EQ(Game::instance().level->layer_count(), 2);

    tick();
    // The replacing gate's later pairs and the old gates after it fire nothing more; the new
    // gates, appended during the walk, are reached by it.
    EXPECT_EQ(take_log(), "T5 R1 E31 E32 ");
    EXPECT_EQ(ids(), (std::vector<int32_t>{5, 31, 32}));
    EXPECT_FALSE(player);
    EXPECT_EQ(Game::instance().level->layer_count(), 1);
    tick(3);
    EXPECT_EQ(take_log(), "T5 T5 T5 ");
}

TEST_F(TriggerScriptTest, ScriptMayRemoveTheTriggerThatRuns) {
    write_file("Data/Scripts/vanish.lua", R"(
        log = log .. 'X' .. parameter .. ' '
        lf:remove_gameobject(50)
    )");
    begin(R"(
        lf:create_level(0, 0, 0, 0)
        lf:create_layer(1, 1, 0)
        gate('wall', 1, 0, 0, 10, {'g'}, {'g'})
        lf:create_trigger('ghost', 0, 'Data/Scripts/vanish.lua', 'Data/Scripts/leave.lua', 500, 0)
        lf:create_circle('ghost_c', 0, 0, 10)
        lf:trigger_shape('ghost', 0, 'ghost_c')
        lf:trigger_add_group_i_belong_to('ghost', 0, 'g')
        lf:trigger_add_group_can_use_me('ghost', 0, 'g')
        gate('after', 3, 1000, 0, 10, {'g'}, {'g'})
    )");
    // The ghost's trigger is carried by a game object with id 50, the way a creature carries its
    // own.
    auto trigger = std::unique_ptr<AreaTrigger>(
        static_cast<AreaTrigger*>(TempLists::instance().triggers.take("ghost").release()));
    ASSERT_NE(trigger, nullptr);
    trigger->id = 2;
    AreaTrigger* ghost = trigger.get();
    auto carrier = std::make_unique<Carrier>(std::move(trigger));
    carrier->id = 50;
    Game::instance().level->layer_at(0)->add_object(std::move(carrier));
    AreaTrigger* after = area(3);
    ASSERT_EQ(ids(), (std::vector<int32_t>{1, 3, 2}));
    tick();
    EXPECT_EQ(take_log(), "");

    // The ghost reaches the wall; its script removes its carrier, which takes the ghost's
    // trigger out of the manager as it dies, once the walk is over.
    ghost->transform.position = {5, 0};
    tick();
    EXPECT_EQ(take_log(), "E1 X2 ");
    EXPECT_EQ(ids(), (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(Game::instance().level->find_by_id(50), nullptr);
    // The wall is never told that the ghost left: it is gone, not outside.
    after->transform.position = {-5, 0};
    tick(3);
    EXPECT_EQ(take_log(), "E1 E3 ");
    EXPECT_EQ(area(1)->inside_count(), 1u);
}

TEST_F(TriggerScriptTest, ScriptsMayAddTriggersWhichTheSameWalkReaches) {
    write_file("Data/Scripts/spawn.lua", R"(
        log = log .. 'S' .. parameter .. ' '
        timer('child', parameter + 1, 0.005, false)
        gate('g' .. parameter, 100 + parameter, 0, 0, 10, {'g'}, {'g'})
    )");
    begin(R"(
        gate('first', 1, 0, 0, 10, {'g'}, {'g'})
        timer('spawner', 10, 0.01, true, 'Data/Scripts/spawn.lua')
    )");
    tick();
    // The new timed trigger advances in the frame it was made, and the new gate meets the first
    // one; the first gate was visited before the new one existed, so it meets it next frame.
    EXPECT_EQ(take_log(), "S10 T11 E110 ");
    tick();
    EXPECT_EQ(take_log(), "E1 S10 E110 T11 E110 E110 ");
    EXPECT_EQ(ids(), (std::vector<int32_t>{1, 10, 110, 110}));
}

TEST_F(TriggerScriptTest, TriggersWaitWhileTheGameIsInTheDialogState) {
    write_file("Data/Scripts/talk.lua", "lf:set_game_state(4)");
    begin(R"(
        lf:create_level(0, 0, 0, 0)
        lf:create_layer(1, 1, 0)
        timer('tick', 1, 0.01, true)
    )");
    // Something in the level (a creature's script, say) opens the dialog state in frame 3.
    auto probe = std::make_unique<ProbeObject>("talker", events);
    int frame = 0;
    probe->on_update = [&] {
        if (frame == 3)
            ScriptHost::run_script("Data/Scripts/talk.lua", 0);
    };
    Game::instance().level->layer_at(0)->add_object(std::move(probe));

    std::vector<std::string> logs;
    std::vector<int> states;
    for (frame = 1; frame <= 5; ++frame) {
        tick();
        logs.push_back(take_log());
        states.push_back(Game::instance().state == GameState::dialog ? 4 : 0);
    }
    // No dialog exists, so the next frame's dialog step goes back to running and the
    // triggers run again in that frame. The skipped frame's time is not made up.
    EXPECT_EQ(logs, (std::vector<std::string>{"T1 ", "T1 ", "", "T1 ", "T1 "}));
    EXPECT_EQ(states, (std::vector<int>{0, 0, 4, 0, 0}));

    // A trigger's own script entering the dialog state: its frame has already updated the
    // triggers, and the next frame's do too.
    write_file("Data/Scripts/timed.lua",
               "log = log .. 'T' .. parameter .. ' ' lf:set_game_state(4)");
    tick();
    EXPECT_EQ(take_log(), "T1 ");
    EXPECT_EQ(Game::instance().state, GameState::dialog);
    tick();
    EXPECT_EQ(take_log(), "T1 ");
}

TEST_F(TriggerScriptTest, BadInputChangesNothing) {
    write_file("Data/Scripts/broken.lua", "log = log .. 'B' .. parameter .. ' ' error('boom')");
    begin(R"(
        -- Names that are not in the temp lists.
        lf:timed_trigger_repeat('nobody', 1, true)
        lf:trigger_set_color('nobody', 1, 1, 1, 1)
        lf:trigger_shape('nobody', 0, 'nothing')
        lf:trigger_add_group_i_belong_to('nobody', 0, 'g')
        lf:trigger_add_group_can_use_me('nobody', 1, 'g')
        lf:trigger_upload('nobody', 1)
        -- Kinds that make nothing.
        lf:create_trigger('odd', 3, 'Data/Scripts/enter.lua', '', 0, 0)
        lf:create_trigger('neg', -1, 'Data/Scripts/enter.lua', '', 0, 0)
        lf:trigger_upload('odd', 2)
        lf:trigger_upload('neg', 3)

        -- A gate whose shape, groups and colour calls miss: wrong kinds, absent shape names.
        lf:create_trigger('g', 0, 'Data/Scripts/enter.lua', '', 0, 0)
        lf:create_circle('c', 0, 0, 50)
        lf:trigger_shape('g', 2, 'c')
        lf:trigger_shape('g', 0, 'absent')
        lf:trigger_add_group_i_belong_to('g', 2, 'x')
        lf:trigger_add_group_can_use_me('g', 5, 'x')
        lf:timed_trigger_repeat('g', 0.01, true)
        lf:trigger_upload('g', 4)
        lf:trigger_upload('g', 5)
        gate('partner', 6, 0, 0, 50, {'x'}, {'x'})

        -- A gate without a shape meets nothing.
        lf:create_trigger('bare', 0, 'Data/Scripts/enter.lua', '', 0, 0)
        lf:trigger_add_group_i_belong_to('bare', 0, 'x')
        lf:trigger_add_group_can_use_me('bare', 0, 'x')
        lf:trigger_upload('bare', 7)

        -- A gate somewhere that is no place meets nothing.
        lf:create_trigger('nan', 0, 'Data/Scripts/enter.lua', '', 0/0, 1/0)
        lf:create_circle('nc', 0, 0, 1e30)
        lf:trigger_shape('nan', 0, 'nc')
        lf:trigger_add_group_i_belong_to('nan', 0, 'x')
        lf:trigger_add_group_can_use_me('nan', 0, 'x')
        lf:trigger_upload('nan', 8)

        -- Timed triggers without a positive period stay idle; colour calls leave them alone.
        lf:create_trigger('never', 2, 'Data/Scripts/timed.lua', '', 0, 0)
        lf:trigger_upload('never', 9)
        lf:create_trigger('negative', 2, 'Data/Scripts/timed.lua', '', 0, 0)
        lf:timed_trigger_repeat('negative', -1, true)
        lf:trigger_set_color('negative', 1, 0, 0, 1)
        lf:trigger_upload('negative', 10)
        timer('nanp', 11, 0/0, false)
        lf:create_trigger('reset', 2, 'Data/Scripts/timed.lua', '', 0, 0)
        lf:timed_trigger_repeat('reset', 0.05, true)
        lf:timed_trigger_repeat('reset', 0, true)
        lf:trigger_upload('reset', 12)

        -- A one-shot whose script fails is gone all the same.
        timer('broken', 13, 0.02, false, 'Data/Scripts/broken.lua')
    )");
    EXPECT_EQ(TempLists::instance().triggers.find("odd"), nullptr);
    EXPECT_NE(TempLists::instance().shapes.find("c"), nullptr);
    auto* g = area(4);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->shape, nullptr);
    EXPECT_TRUE(g->belong_to.empty());
    EXPECT_TRUE(g->can_use_me.empty());
    EXPECT_EQ(by_id(5), nullptr);
    for (int32_t id : {9, 10, 11, 12}) {
        auto* timed = dynamic_cast<TimedTrigger*>(by_id(id));
        ASSERT_NE(timed, nullptr) << id;
        EXPECT_EQ(timed->timer.period, 0.0f) << id;
    }
    tick(100);
    EXPECT_EQ(take_log(), "B13 ");
    EXPECT_EQ(ids(), (std::vector<int32_t>{4, 6, 7, 8, 9, 10, 11, 12}));
    for (Trigger* t : manager().triggers()) {
        if (auto* a = dynamic_cast<AreaTrigger*>(t)) {
            EXPECT_EQ(a->inside_count(), 0u) << t->id;
        }
    }
}

TEST_F(TriggerScriptTest, ANewLevelKeepsTimedTriggersOnly) {
    begin(R"(
        lf:create_level(0, 0, 0, 0)
        gate('a', 1, 0, 0, 10, {'g'}, {'g'})
        lf:create_trigger('u', 1, 'Data/Scripts/use.lua', '', 0, 0)
        lf:trigger_upload('u', 2)
        timer('t', 3, 10, true)
        gate('b', 4, 0, 0, 10, {'g'}, {'g'})
        -- Still being built: a level change leaves the temp list alone.
        lf:create_trigger('waiting', 0, 'Data/Scripts/enter.lua', '', 0, 0)
    )");
    EXPECT_EQ(ids(), (std::vector<int32_t>{1, 2, 3, 4}));
    lua("lf:create_level(0, 0, 0, 0)");
    EXPECT_EQ(ids(), (std::vector<int32_t>{3}));
    EXPECT_NE(TempLists::instance().triggers.find("waiting"), nullptr);
}

TEST_F(TriggerScriptTest, DebugViewDrawsAreaTriggersInTheirColours) {
    begin(R"(
        lf:create_trigger('gate', 0, '', '', -200, 0)
        lf:create_shape('gbox', 3, 40, 40)
        lf:trigger_shape('gate', 0, 'gbox')
        lf:trigger_upload('gate', 1)
        lf:create_trigger('use', 1, '', '', 0, 0)
        lf:create_circle('uc', 0, 0, 40)
        lf:trigger_shape('use', 1, 'uc')
        lf:trigger_upload('use', 2)
        lf:create_trigger('red', 0, '', '', 200, 0)
        lf:create_shape('rbox', 3, 40, 40)
        lf:trigger_shape('red', 0, 'rbox')
        lf:trigger_set_color('red', 1, 1, 0, 1)
        lf:trigger_upload('red', 3)
    )");
    tick();
    EXPECT_EQ(pixel(440, 360).r, 0);
    lua("lf:draw_triggers(true)");
    tick();
    // Alpha 0.4 over the black clear colour.
    const Pixel gate = pixel(440, 360), use = pixel(640, 360), red = pixel(840, 360);
    EXPECT_NEAR(gate.r, 51, 1) << gate;
    EXPECT_EQ(gate.g, 0);
    EXPECT_EQ(use.r, 0);
    EXPECT_NEAR(use.g, 51, 1) << use;
    EXPECT_EQ(red.r, 255);
    EXPECT_EQ(red.g, 255);
    EXPECT_EQ(red.b, 0);
    // Outside the shapes nothing is drawn.
    EXPECT_EQ(pixel(540, 360).r, 0);
    EXPECT_EQ(pixel(540, 360).g, 0);
    lua("lf:draw_triggers(false)");
    tick();
    EXPECT_EQ(pixel(840, 360).r, 0);
}

TEST_F(TriggerScriptTest, AGateMeetsAGateItsOwnScriptAddedInTheSameFrame) {
    write_file("Data/Scripts/grow.lua", R"(
        log = log .. 'G' .. parameter .. ' '
        if not grown then
            grown = true
            gate('c', 3, -5, 0, 10, {}, {'g'})
            gate('d', 4, 500, 0, 10, {}, {'g'})
        end
    )");
    begin(R"(
        gate('a', 1, 0, 0, 10, {'g'}, {}, 'Data/Scripts/grow.lua')
        gate('b', 2, 5, 0, 10, {}, {'g'})
    )");
    tick();
    EXPECT_EQ(take_log(), "G1 G1 ");
    EXPECT_EQ(area(1)->inside_count(), 2u);
    tick(3);
    EXPECT_EQ(take_log(), "");
    area(4)->transform.position = {0, 5};
    tick();
    EXPECT_EQ(take_log(), "G1 ");
}

// trigger_remove: every trigger uploaded with the id goes, gates, use and timed triggers alike;
// triggers that creatures carry and the player's trigger stay with their owners.
TEST_F(TriggerScriptTest, RemovingByIdTakesEveryUploadedTriggerWithTheId) {
    begin(R"(
        lf:create_level(0, 0, 0, 0)
        lf:create_layer(1, 1, 0)
        gate('a', 5, 0, 0, 10, {'g'}, {'g'})
        gate('b', 6, 0, 0, 10, {'g'}, {'g'})
        lf:create_trigger('u', 1, 'Data/Scripts/use.lua', '', 0, 0)
        lf:trigger_upload('u', 5)
        timer('t', 5, 0.01, true)
        -- A creature's gate with the same id.
        lf:create_creature('c', 2, '', '', '', '')
        lf:create_trigger('ct', 0, '', '', 0, 0)
        lf:creature_trigger('c', 2, 'ct', 5)
        lf:gameobject_upload('c', 0, 70)
        -- The player's trigger, in the manager with the id 0, and a timer with the id 0.
        lf:create_creature('', 0, '', '', '', '')
        lf:create_trigger('pt', 0, '', '', 0, 0)
        lf:creature_trigger('', 0, 'pt', 0)
        lf:add_player_trigger_to_manager()
        timer('t0', 0, 1, false)
    )");
    ASSERT_EQ(ids(), (std::vector<int32_t>{5, 6, 5, 5, 5, 0, 0}));
    tick();
    EXPECT_EQ(take_log(), "E5 E6 T5 ");
    ASSERT_EQ(lua("lf:trigger_remove(5)"), "");
    EXPECT_EQ(ids(), (std::vector<int32_t>{6, 5, 0, 0})) << "the creature's gate stays";
    ASSERT_EQ(lua("lf:trigger_remove(0)"), "");
    EXPECT_EQ(ids(), (std::vector<int32_t>{6, 5, 0}));
    ASSERT_TRUE(Game::instance().player);
    EXPECT_TRUE(Game::instance().player->managed_trigger) << "the player keeps its trigger";
    ASSERT_EQ(lua("lf:trigger_remove(42)\nlf:trigger_remove(5)"), "");
    EXPECT_EQ(ids(), (std::vector<int32_t>{6, 5, 0}));
    // The gate that was inside the removed one is not told it left: nothing is there to leave.
    tick(3);
    EXPECT_EQ(take_log(), "");
}

TEST_F(TriggerScriptTest, ATriggersScriptMayRemoveItselfAndOthersDuringTheWalk) {
    write_file("Data/Scripts/once.lua", R"(
        log = log .. 'R' .. parameter .. ' '
        lf:trigger_remove(parameter)
        lf:trigger_remove(2)
    )");
    begin(R"(
        lf:create_level(0, 0, 0, 0)
        gate('x', 1, 0, 0, 10, {'g'}, {'g'}, 'Data/Scripts/once.lua')
        gate('y', 2, 5, 0, 10, {'g'}, {'g'})
        gate('z', 3, 500, 0, 10, {'g'}, {'g'})
        timer('once', 4, 0.01, true, 'Data/Scripts/once.lua')
    )");
    tick();
    // x fires and takes itself and y out; y, visited after it, fires nothing; the repeating
    // timer removes itself as a one-shot would.
    EXPECT_EQ(take_log(), "R1 R4 ");
    EXPECT_EQ(ids(), (std::vector<int32_t>{3}));
    tick(3);
    EXPECT_EQ(take_log(), "");
}
