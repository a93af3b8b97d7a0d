#include "Creatures/Player.h"
#include "Creatures/UserController.h"
#include "Flow/MenuInput.h"
#include "Platform/VirtualKeys.h"
#include "Scene/TempLists.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

class ControllerScriptTest : public EngineTest {
  protected:
    static UserController* pending() { return TempLists::instance().pending_controller.get(); }
    static UserController* menu_controller() { return Game::instance().menu->controller.get(); }
    static constexpr const char* names = R"(
        lf = LuaFunctions()
        lf:add_vk_pair(38, 'up')
        lf:add_vk_pair(40, 'down')
        lf:add_vk_pair(37, 'left')
        lf:add_vk_pair(39, 'right')
        lf:add_vk_pair(13, 'enter')
    )";
};

TEST_F(ControllerScriptTest, ListenerTypesNameTheCommandsInTheirOwnOrder) {
    start(std::string(names) + R"(
        lf:add_input_listener(4, 'enter')
        lf:add_input_listener(0, 'up')
        lf:add_input_listener(3, 'right')
        lf:add_input_listener(1, 'down')
        lf:add_input_listener(2, 'left')
        lf:add_input_listener(5, 'up')
        lf:add_input_listener(-1, 'up')
    )");
    ASSERT_NE(pending(), nullptr);
    const std::vector<std::pair<int32_t, int32_t>> expected = {{command::action, vk::enter},
                                                               {command::up, vk::up},
                                                               {command::right, vk::right},
                                                               {command::down, vk::down},
                                                               {command::left, vk::left}};
    ASSERT_EQ(pending()->bindings.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(pending()->bindings[i].command, expected[i].first) << i;
        EXPECT_EQ(pending()->bindings[i].key_code, expected[i].second) << i;
    }
}

TEST_F(ControllerScriptTest, AnUnknownTypeStillLeavesAControllerPending) {
    start("lf = LuaFunctions()\nlf:add_input_listener(9, 'up')");
    ASSERT_NE(pending(), nullptr);
    EXPECT_TRUE(pending()->bindings.empty());
    ASSERT_EQ(lua("lf:upload_controller(0)"), "");
    EXPECT_EQ(pending(), nullptr);
    ASSERT_NE(menu_controller(), nullptr);
    EXPECT_TRUE(menu_controller()->bindings.empty());
}

TEST_F(ControllerScriptTest, BindingOneTypeTwiceKeepsOnlyTheSecondKey) {
    start(std::string(names) + R"(
        lf:add_input_listener(0, 'up')
        lf:add_input_listener(0, 'enter')
        lf:upload_controller(0)
    )");
    ASSERT_NE(menu_controller(), nullptr);
    ASSERT_EQ(menu_controller()->bindings.size(), 1u);
    EXPECT_EQ(menu_controller()->bindings[0].command, command::up);
    EXPECT_EQ(menu_controller()->bindings[0].key_code, vk::enter);
}

TEST_F(ControllerScriptTest, UploadGivesTheMenuItsControllerAndDropsItForOtherModes) {
    start(std::string(names) + "lf:add_input_listener(0, 'up')\nlf:upload_controller(0)");
    UserController* first = menu_controller();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(pending(), nullptr);
    Ref<UserController> first_ref(first);

    // Nothing pending: nothing happens.
    ASSERT_EQ(lua("lf:upload_controller(0)"), "");
    EXPECT_EQ(menu_controller(), first);

    // The pending controller survives until the upload; for any mode but the menu's and the
    // player's it is dropped and the menu keeps its own.
    for (const char* mode : {"2", "-1"}) {
        ASSERT_EQ(lua("lf:add_input_listener(1, 'down')"), "");
        ASSERT_NE(pending(), nullptr) << mode;
        Ref<UserController> dropped(pending());
        ASSERT_EQ(lua(std::string("lf:upload_controller(") + mode + ")"), "");
        EXPECT_EQ(pending(), nullptr) << mode;
        EXPECT_FALSE(dropped) << mode;
        EXPECT_EQ(menu_controller(), first) << mode;
    }

    // Mode 1 gives it to the player, also to one made later; the menu keeps its own.
    ASSERT_EQ(lua("lf:add_input_listener(2, 'left')"), "");
    UserController* for_player = pending();
    ASSERT_EQ(lua("lf:upload_controller(1)\nlf:create_creature('', 0, '', '', '', '')"), "");
    EXPECT_EQ(pending(), nullptr);
    EXPECT_EQ(menu_controller(), first);
    ASSERT_NE(Game::instance().player, nullptr);
    EXPECT_EQ(Game::instance().player->controller.get(), for_player);

    // A second menu controller replaces and destroys the first.
    ASSERT_EQ(lua("lf:add_input_listener(4, 'enter')\nlf:upload_controller(0)"), "");
    EXPECT_FALSE(first_ref);
    ASSERT_NE(menu_controller(), nullptr);
    EXPECT_EQ(menu_controller()->bindings[0].command, command::action);
}

TEST_F(ControllerScriptTest, KeyNamesBoundTwiceKeepTheFirstNameAndTheSmallestCode) {
    start(R"(
        lf = LuaFunctions()
        lf:add_vk_pair(37, 'left')
        lf:add_vk_pair(37, 'arrow')
        lf:add_vk_pair(65, 'jump')
        lf:add_vk_pair(32, 'jump')
        lf:add_vk_pair(-32, 'jump')
        lf:add_input_listener(2, 'arrow')
        lf:add_input_listener(0, 'jump')
        lf:add_input_listener(3, 'left')
        lf:upload_controller(0)
    )");
    ASSERT_NE(menu_controller(), nullptr);
    ASSERT_EQ(menu_controller()->bindings.size(), 3u);
    EXPECT_EQ(menu_controller()->bindings[0].key_code, 0);
    EXPECT_EQ(menu_controller()->bindings[1].key_code, vk::space);
    EXPECT_EQ(menu_controller()->bindings[2].key_code, vk::left);
}
