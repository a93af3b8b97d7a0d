// Reading the player's hit points and their maximum from a script, as a health bar does.
#include "Creatures/Player.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

class PlayerHealthScriptTest : public EngineTest {
  protected:
    // Evaluates get_player_hp and get_player_max_hp.
    std::pair<double, double> hp() {
        EXPECT_EQ(lua("hp, max = lf:get_player_hp(), lf:get_player_max_hp()"), "");
        return {lua_number("hp"), lua_number("max")};
    }
};

TEST_F(PlayerHealthScriptTest, TheGettersFollowDamageRecoveryAndDeath) {
    start(R"(
        lf = LuaFunctions()
        hp, max = lf:get_player_hp(), lf:get_player_max_hp()
        lf:create_level(0, 0, 0, 0)
        lf:create_layer(1, 1, 0)
        lf:create_creature('', 0, '', '', '', '')
        lf:upload_player_to_layer(0)
        lf:set_hp(10, 0.5, 0.1, 0)
        lf:create_sprite('hurt', 0, '', 0, 0)
        lf:set_death_effect('hurt', 1, 0, 1, 1)
    )");
    EXPECT_EQ(lua_number("hp"), 0) << "no player yet";
    EXPECT_EQ(lua_number("max"), 0);
    const Health& health = Game::instance().player->health;
    EXPECT_EQ(hp(), (std::pair<double, double>{10, 10}));

    // Four hit points a second for half a second.
    ASSERT_EQ(lua("lf:damage(4, 0)"), "");
    tick(50);
    EXPECT_NEAR(hp().first, 8.0, 0.05);
    EXPECT_EQ(hp().first, static_cast<double>(health.hp));
    ASSERT_EQ(lua("lf:damage(0, 4)"), "");
    tick(52);  // the recovery delay, then 0.1 a frame
    const double regenerating = hp().first;
    EXPECT_GT(regenerating, 8.0);
    EXPECT_LT(regenerating, 10.0);
    tick(30);
    EXPECT_EQ(hp(), (std::pair<double, double>{10, 10}));

    // Drained past zero the player dies; the hit points read 0, never below.
    ASSERT_EQ(lua("lf:damage(1234, 0)"), "");
    tick(5);
    EXPECT_EQ(Game::instance().player->state, Player::dead);
    EXPECT_LT(health.hp, 0.0f);
    EXPECT_EQ(hp(), (std::pair<double, double>{0, 10}));
    // A new level brings them back.
    ASSERT_EQ(lua("lf:damage(0, 1234)\nlf:reset_all_extra_for_level_change()"), "");
    EXPECT_EQ(hp(), (std::pair<double, double>{10, 10}));
}
