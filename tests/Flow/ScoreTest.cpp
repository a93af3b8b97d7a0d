#include <cstdint>
#include <limits>
#include <string>

#include "Flow/Score.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

namespace {

constexpr int32_t int_max = std::numeric_limits<int32_t>::max();
constexpr int32_t int_min = std::numeric_limits<int32_t>::min();

}  // namespace

// Points, combos, grades and the level timer as a level script keeps them.
class ScoreTest : public EngineTest {
  protected:
    // Runs the statements, then evaluates the expression into the global "result".
    std::string eval(const std::string& expression) {
        EXPECT_EQ(lua("result = " + expression), "") << expression;
        return lua_string("result");
    }
    double number(const std::string& expression) {
        EXPECT_EQ(lua("result = " + expression), "") << expression;
        return lua_number("result");
    }
};

TEST_F(ScoreTest, ANewGameStartsEmpty) {
    start("lf = LuaFunctions()");
    EXPECT_EQ(number("lf:get_points()"), 0);
    EXPECT_EQ(number("lf:get_combo()"), 0);
    EXPECT_EQ(number("lf:get_max_combo()"), 0);
    EXPECT_EQ(number("lf:get_time()"), 0);
    EXPECT_EQ(number("lf:get_combo_multiplier()"), 1);
    EXPECT_EQ(number("lf:get_timed_points()"), 0);
    EXPECT_EQ(eval("lf:level_name()"), "(nil)");
    EXPECT_EQ(eval("lf:get_level_name(1000)"), "failed");
}

TEST_F(ScoreTest, TheMultiplierRisesEveryDivisorComboSteps) {
    start("lf = LuaFunctions()");
    struct Case {
        int32_t divisor;
        int32_t multipliers[6];  // after the first to the sixth add_points
        int32_t points;          // six times 5 points, each times its multiplier
    };
    const Case cases[] = {
        {1, {2, 3, 4, 5, 6, 7}, 5 * (2 + 3 + 4 + 5 + 6 + 7)},
        {3, {1, 1, 2, 2, 2, 3}, 5 * (1 + 1 + 2 + 2 + 2 + 3)},
        {4, {1, 1, 1, 2, 2, 2}, 5 * 9},
        {10, {1, 1, 1, 1, 1, 1}, 5 * 6},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(lua("lf:points_reset(60, 0)\nlf:set_point_settings(10, " +
                      std::to_string(c.divisor) + ")"),
                  "");
        for (int i = 0; i < 6; ++i) {
            ASSERT_EQ(lua("lf:add_points(5)"), "");
            EXPECT_EQ(number("lf:get_combo_multiplier()"), c.multipliers[i])
                << "divisor " << c.divisor << ", combo " << i + 1;
        }
        EXPECT_EQ(number("lf:get_combo()"), 6);
        EXPECT_EQ(number("lf:get_points()"), c.points) << "divisor " << c.divisor;
    }
    // Negative points lower the total by the multiplied amount and still raise the combo.
    ASSERT_EQ(lua("lf:points_reset(60, 0)\nlf:set_point_settings(10, 3)\n"
                  "for i = 1, 4 do lf:add_points(5) end\nlf:add_points(-4)"),
              "");
    EXPECT_EQ(number("lf:get_points()"), 30 - 4 * 2);
    EXPECT_EQ(number("lf:get_combo()"), 5);
}

TEST_F(ScoreTest, AComboBuildsOverScriptedTimeAndBreaksOnReset) {
    // A level script's rule: a coin taken within two seconds of the last one continues the
    // combo; a slower one starts over (the script resets and adds what it had kept).
    start(R"(
        lf = LuaFunctions()
        lf:set_point_settings(0, 2)
        lf:points_reset(100, 0)
        lf:timer_start()
        banked, last = 0, 0
        function take_coin()
            local now = lf:get_time()
            if now - last > 2 then
                banked = banked + lf:get_points()
                lf:points_reset(100, math.max(lf:get_max_combo(), lf:get_combo()))
                last = 0
                now = 0
            end
            lf:add_points(10)
            last = now
        end
    )");
    auto take = [&] { ASSERT_EQ(lua("take_coin()"), ""); };
    // Three quick coins: multipliers 1, 2, 2. (Frame counts stay clear of whole seconds.)
    take();
    tick(150);
    take();
    tick(100);
    take();
    EXPECT_EQ(number("lf:get_combo()"), 3);
    EXPECT_EQ(number("lf:get_points()"), 10 + 20 + 20);
    EXPECT_EQ(number("lf:get_time()"), 2);
    // A long pause: the combo breaks and starts from 1; the best combo is kept.
    tick(300);
    take();
    EXPECT_EQ(number("lf:get_combo()"), 1);
    EXPECT_EQ(number("lf:get_max_combo()"), 3);
    EXPECT_EQ(number("lf:get_points()"), 10);
    EXPECT_EQ(number("banked"), 50);
    // The reset set the clock back; it keeps running.
    EXPECT_EQ(number("lf:get_time()"), 0);
    tick(150);
    EXPECT_EQ(number("lf:get_time()"), 1);
}

TEST_F(ScoreTest, TheLevelTimerCountsWholeSecondsWhileItRunsInEveryState) {
    start(
        "lf = LuaFunctions()\nlf:timer_stop()\nlf:timer_start()\n"
        "lf:set_point_settings(100, 1)\nlf:points_reset(60, 5)");
    tick(250);  // 2.5 s
    EXPECT_EQ(number("lf:get_time()"), 2);
    EXPECT_EQ(number("lf:get_timed_points()"), (60 - 2) * 100);
    EXPECT_EQ(number("lf:get_max_combo()"), 5);
    // Stopped: frames pass, the count stays; started again: it goes on from there.
    ASSERT_EQ(lua("lf:timer_stop()"), "");
    tick(300);
    EXPECT_EQ(number("lf:get_time()"), 2);
    EXPECT_EQ(number("lf:get_timed_points()"), 5800);
    ASSERT_EQ(lua("lf:timer_start()"), "");
    tick(60);  // the half second left from before and this one make the third second
    EXPECT_EQ(number("lf:get_time()"), 3);
    // Frozen and dialog states do not stop it, nor does a new level.
    ASSERT_EQ(lua("lf:set_game_state(2)\nlf:create_level(0, 0, 0, 0)"), "");
    tick(100);
    EXPECT_EQ(number("lf:get_time()"), 4);
    ASSERT_EQ(lua("lf:set_game_state(1)"), "");
    tick(100);
    EXPECT_EQ(number("lf:get_time()"), 5);
    // At the limit and past it the time bonus is 0.
    tick(100 * 55);
    EXPECT_EQ(number("lf:get_time()"), 60);
    EXPECT_EQ(number("lf:get_timed_points()"), 0);
    tick(100);
    EXPECT_EQ(number("lf:get_timed_points()"), 0);
    // A reset sets the count back while the timer keeps running.
    ASSERT_EQ(lua("lf:points_reset(10, 0)"), "");
    EXPECT_EQ(number("lf:get_time()"), 0);
    EXPECT_EQ(number("lf:get_timed_points()"), 1000);
    tick(150);
    EXPECT_EQ(number("lf:get_time()"), 1);
}

TEST_F(ScoreTest, TimedPointsAfterTheTimerStopsStayPut) {
    start(
        "lf = LuaFunctions()\nlf:set_point_settings(7, 1)\nlf:points_reset(30, 0)\n"
        "lf:timer_stop()");  // stopped before it ever started
    tick(200);
    EXPECT_EQ(number("lf:get_time()"), 0);
    EXPECT_EQ(number("lf:get_timed_points()"), 30 * 7);
    ASSERT_EQ(lua("lf:timer_start()"), "");
    tick(1050);
    ASSERT_EQ(lua("lf:timer_stop()\nbonus = lf:get_timed_points()"), "");
    tick(1000);
    EXPECT_EQ(number("bonus"), (30 - 10) * 7);
    EXPECT_EQ(number("lf:get_timed_points()"), (30 - 10) * 7);
    // The bonus is only reported; adding it is up to the script.
    EXPECT_EQ(number("lf:get_points()"), 0);
}

TEST_F(ScoreTest, GradesPickTheGreatestReachedFirstAddedOnATie) {
    start(R"(
        lf = LuaFunctions()
        lf:add_point_level('bronze', 100)
        lf:add_point_level('silver', 200)
        lf:add_point_level('silver again', 200)
        lf:add_point_level('nothing', 0)
        lf:add_point_level('', 300)
    )");
    struct Case {
        int32_t points;
        const char* grade;
    };
    for (Case c : {Case{99, "failed"}, Case{100, "bronze"}, Case{250, "silver"}, Case{0, "failed"},
                   Case{-5, "failed"}, Case{300, ""}, Case{int_max, ""}, Case{int_min, "failed"}})
        EXPECT_EQ(eval("lf:get_level_name(" + std::to_string(c.points) + ")"), c.grade) << c.points;
    ASSERT_EQ(lua("lf:points_reset(10, 0)"), "");
    EXPECT_EQ(eval("lf:get_level_name(250)"), "failed");
    ASSERT_EQ(lua("lf:add_point_level('gold', 50)"), "");
    EXPECT_EQ(eval("lf:get_level_name(250)"), "gold");
}

TEST_F(ScoreTest, TheLevelNameIsACopyKeptAcrossResets) {
    start("lf = LuaFunctions()\nlocal s = 'Mead' .. 'ow'\nlf:set_level_name(s)\ns = nil");
    EXPECT_EQ(eval("lf:level_name()"), "Meadow");
    ASSERT_EQ(lua("collectgarbage()\nlf:points_reset(1, 1)\nlf:create_level(0, 0, 0, 0)"), "");
    EXPECT_EQ(eval("lf:level_name()"), "Meadow");
    ASSERT_EQ(lua("lf:set_level_name('')"), "");
    EXPECT_EQ(eval("type(lf:level_name())"), "string");
    EXPECT_EQ(eval("lf:level_name()"), "");
}

TEST_F(ScoreTest, ADivisorOfZeroOrBelowKeepsThePreviousOne) {
    start("lf = LuaFunctions()\nlf:set_point_settings(3, 2)");
    for (int32_t divisor : {0, -1, -3, int_min}) {
        ASSERT_EQ(lua("lf:set_point_settings(" + std::to_string(divisor + 1000) + ", " +
                      std::to_string(divisor) + ")"),
                  "");
        EXPECT_EQ(Game::instance().score.combo_divisor, 2);
        EXPECT_EQ(Game::instance().score.points_per_second, divisor + 1000);
    }
    ASSERT_EQ(lua("lf:points_reset(5, 0)\nfor i = 1, 4 do lf:add_points(1) end"), "");
    EXPECT_EQ(number("lf:get_points()"), 1 + 2 + 2 + 3);
    EXPECT_EQ(number("lf:get_combo_multiplier()"), 3);
}

TEST_F(ScoreTest, SumsAndProductsAtTheIntegerLimitsSaturate) {
    start("lf = LuaFunctions()\nlf:set_point_settings(0, 1)");
    ASSERT_EQ(lua("lf:add_points(2147483647)"), "");  // times 2
    EXPECT_EQ(number("lf:get_points()"), int_max);
    ASSERT_EQ(lua("lf:add_points(1)"), "");
    EXPECT_EQ(number("lf:get_points()"), int_max);
    ASSERT_EQ(lua("lf:add_points(-2147483648)"), "");  // times 4
    EXPECT_EQ(number("lf:get_points()"), int_min);
    ASSERT_EQ(lua("lf:add_points(2147483647)"), "");  // times 5
    EXPECT_EQ(number("lf:get_points()"), int_max);

    ASSERT_EQ(lua("lf:set_point_settings(2147483647, 1)\nlf:points_reset(2147483647, 0)"), "");
    EXPECT_EQ(number("lf:get_timed_points()"), int_max);
    ASSERT_EQ(lua("lf:set_point_settings(-2147483648, 1)"), "");
    EXPECT_EQ(number("lf:get_timed_points()"), int_min);
    ASSERT_EQ(lua("lf:points_reset(-2147483648, 0)"), "");
    EXPECT_EQ(number("lf:get_timed_points()"), 0);
}

TEST(ScoreUnit, TheComboAndItsMultiplierStopAtTheIntegerLimit) {
    Score score;
    score.combo = int_max - 1;
    score.add(1);
    EXPECT_EQ(score.combo, int_max);
    EXPECT_EQ(score.multiplier(), int_max);  // (max + 1) / 1 does not fit
    score.add(1);
    EXPECT_EQ(score.combo, int_max);
    score.set_settings(0, 2);
    EXPECT_EQ(score.multiplier(), int_max / 2 + 1);
    // The timer's count wraps nowhere either: a running timer far past the limit pays 0.
    score.reset(int_min, 0);
    score.set_settings(int_max, 2);
    EXPECT_EQ(score.timed_points(), 0);
    score.reset(int_max, 0);
    score.level_timer.ticks = -5;  // cannot happen by frames; the sum still must not wrap
    EXPECT_EQ(score.timed_points(), int_max);
}
