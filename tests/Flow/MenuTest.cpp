#include "Flow/MenuInput.h"
#include "Flow/TextureButton.h"
#include "Platform/VirtualKeys.h"
#include "Scene/Level.h"
#include "Scene/TempLists.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

// A level with one layer, the arrow keys and Return bound for the menu, and a 2x2 grid of
// buttons:   a b
//            c d
// The top row wraps sideways (a's left is b, b's right is a); nothing else wraps. Each button
// is a 80 x 80 square, red while not focused and green while focused, with ids 1 to 4.
class MenuTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        write_file("Data/Scripts/press.lua", "presses = (presses or 0) + 1\nlast = parameter\n");
    }

    static constexpr const char* setup = R"(
        lf = LuaFunctions()
        lf:add_vk_pair(37, 'left')
        lf:add_vk_pair(38, 'up')
        lf:add_vk_pair(39, 'right')
        lf:add_vk_pair(40, 'down')
        lf:add_vk_pair(13, 'enter')
        -- A menu controller of {listener type, key name} pairs, bound in the order given.
        function menu_keys(...)
            for _, pair in ipairs({...}) do lf:add_input_listener(pair[1], pair[2]) end
            lf:upload_controller(0)
        end
        -- Left, right, up, down, action.
        menu_keys({2, 'left'}, {3, 'right'}, {0, 'up'}, {1, 'down'}, {4, 'enter'})
        lf:create_level(0, 0, 0, 0)
        lf:create_layer(1, 1, 0)

        function button(name, x, y, script)
            lf:create_sprite(name .. '_n', 0, '', x, y)
            lf:sprite_shape(name .. '_n', 0, 40, 40)
            lf:sprite_color(name .. '_n', 1, 0, 0, 1)
            lf:create_sprite(name .. '_f', 0, '', x, y)
            lf:sprite_shape(name .. '_f', 0, 40, 40)
            lf:sprite_color(name .. '_f', 0, 1, 0, 1)
            lf:create_button(name, name .. '_n', name .. '_f', '', '', script or 'Data/Scripts/press.lua')
        end
    )";
    static constexpr const char* grid = R"(
        button('a', -200, 100)
        button('b', 200, 100)
        button('c', -200, -100)
        button('d', 200, -100)
        --                      up    down  left  right
        lf:button_dependencies('a', '',  'c', 'b', 'b')
        lf:button_dependencies('b', '',  'd', 'a', 'a')
        lf:button_dependencies('c', 'a', '',  '',  'd')
        lf:button_dependencies('d', 'b', '',  'c', '')
        lf:set_focused_button('a')
        for i, name in ipairs({ 'a', 'b', 'c', 'd' }) do lf:gameobject_upload(name, 0, i) end
        lf:set_game_state(1)
    )";

    // Another menu controller, with action bound before the arrows: in one frame, a press comes
    // before a move.
    static constexpr const char* action_first =
        "menu_keys({4, 'enter'}, {1, 'down'}, {2, 'left'}, {3, 'right'}, {0, 'up'})\n";

    void start_grid(const std::string& more = "") { start(std::string(setup) + grid + more); }

    // With the action-first controller: button a (id 1), whose press runs a_script, above c
    // (id 3), a focused, in the menu state.
    void start_a_over_c(const std::string& a_script) {
        start(std::string(setup) + action_first + "button('a', -200, 100, '" + a_script + "')\n" +
              R"(
        button('c', -200, -100)
        lf:button_dependencies('a', '', 'c', '', '')
        lf:set_focused_button('a')
        lf:gameobject_upload('a', 0, 1)
        lf:gameobject_upload('c', 0, 3)
        lf:set_game_state(1)
    )");
    }

    static MenuInput& menu() { return *Game::instance().menu; }
    static int32_t focused_id() {
        Button* b = menu().focused.get();
        return b ? b->id : 0;
    }
    static Button* button(int32_t id) {
        Level* level = Game::instance().level.get();
        return level ? dynamic_cast<Button*>(level->find_by_id(id)) : nullptr;
    }
    // A key goes down for one frame, then up for one frame.
    void tap(int32_t key) {
        keyboard.press(key);
        tick();
        keyboard.release(key);
        tick();
    }
    // The colour at the centre of button id's square.
    Pixel centre(int32_t id) {
        const int x = (id % 2 == 1 ? -200 : 200) + 640, y = (id <= 2 ? 100 : -100) + 360;
        return pixel(x, y);
    }
};

namespace {
const EngineTest::Pixel red{255, 0, 0, 255}, green{0, 255, 0, 255};
}

TEST_F(MenuTest, FocusMovesOverTheGridAndWrapsOnlyWhereNeighboursSay) {
    start_grid();
    EXPECT_EQ(focused_id(), 1);
    struct Step {
        int32_t key;
        int32_t focused;
    };
    const Step steps[] = {
        {vk::right, 2}, {vk::right, 1},                 // the top row wraps both ways
        {vk::left, 2},  {vk::down, 4},  {vk::down, 4},  // no neighbour below the grid
        {vk::right, 4},                                 // the bottom row does not wrap
        {vk::left, 3},  {vk::left, 3},  {vk::up, 1},   {vk::up, 1},
        {vk::down, 3},  {vk::right, 4}, {vk::up, 2},
    };
    for (const Step& s : steps) {
        tap(s.key);
        ASSERT_EQ(focused_id(), s.focused) << "after key " << s.key;
        // Exactly the focused button shows it, on the screen too.
        for (int32_t id = 1; id <= 4; ++id) {
            ASSERT_NE(button(id), nullptr);
            EXPECT_EQ(button(id)->focused, id == s.focused) << id;
            EXPECT_EQ(centre(id), id == s.focused ? green : red) << id;
        }
    }
}

TEST_F(MenuTest, HoldingAKeyMovesTheFocusOnceAndReleasesAreIgnored) {
    start_grid();
    keyboard.press(vk::down);
    tick(10);
    EXPECT_EQ(focused_id(), 3);
    keyboard.release(vk::down);
    tick(3);
    EXPECT_EQ(focused_id(), 3);
}

TEST_F(MenuTest, LeftAndRightInOneFrameActInBindingOrder) {
    start_grid("lf:set_focused_button('c')");
    // set_focused_button on a name already uploaded finds nothing: the focus stays on a.
    EXPECT_EQ(focused_id(), 1);
    // From a, left (bound first) goes to b, then right from b wraps back to a.
    keyboard.press(vk::right);
    keyboard.press(vk::left);
    tick();
    EXPECT_EQ(focused_id(), 1);
    keyboard.release(vk::right);
    keyboard.release(vk::left);
    tap(vk::down);
    ASSERT_EQ(focused_id(), 3);
    // From c, left finds no neighbour and right goes to d; the other order would end on c.
    keyboard.press(vk::left);
    keyboard.press(vk::right);
    tick();
    EXPECT_EQ(focused_id(), 4);
}

TEST_F(MenuTest, TheActionKeyPressesTheFocusedButtonOnceWithItsId) {
    start_grid();
    tap(vk::right);
    tap(vk::enter);
    EXPECT_EQ(lua_number("presses"), 1);
    EXPECT_EQ(lua_number("last"), 2);
    EXPECT_TRUE(button(2)->pressed);
    // A button is pressed once in its life.
    tap(vk::enter);
    EXPECT_EQ(lua_number("presses"), 1);
    // Another button still can be.
    tap(vk::down);
    tap(vk::enter);
    EXPECT_EQ(lua_number("presses"), 2);
    EXPECT_EQ(lua_number("last"), 4);
}

TEST_F(MenuTest, TheMenuReadsKeysOnlyInTheMenuState) {
    start_grid("lf:set_game_state(0)");
    // Pressed and released while running: nothing, not even later.
    tap(vk::enter);
    tap(vk::down);
    ASSERT_EQ(lua("lf:set_game_state(1)"), "");
    tick(2);
    EXPECT_EQ(focused_id(), 1);
    EXPECT_EQ(lua_number("presses"), 0);
    // Gone down while frozen and still held: a move at the first menu step.
    ASSERT_EQ(lua("lf:set_game_state(2)"), "");
    keyboard.press(vk::down);
    tick(3);
    EXPECT_EQ(focused_id(), 1);
    ASSERT_EQ(lua("lf:set_game_state(1)"), "");
    tick();
    EXPECT_EQ(focused_id(), 3);
}

TEST_F(MenuTest, WithoutAFocusOnlyNothingHappens) {
    start(std::string(setup) + R"(
        button('a', -200, 100)
        lf:gameobject_upload('a', 0, 1)
        lf:set_game_state(1)
    )");
    for (int32_t key : {vk::left, vk::right, vk::up, vk::down, vk::enter})
        tap(key);
    EXPECT_EQ(focused_id(), 0);
    EXPECT_FALSE(button(1)->pressed);
    EXPECT_EQ(centre(1), red);
}

TEST_F(MenuTest, AScriptThatReplacesTheLevelDuringTheStepLeavesNothingDangling) {
    // Pressing "b" builds a new level with a menu of its own (button "n" at a's place); in the
    // same frame a later event still moves the focus in the old menu, which stays alive until
    // the step is over.
    write_file("Data/Scripts/next.lua", R"(
        presses = (presses or 0) + 1
        lf:create_level(0, 0, 0, 0)
        lf:create_layer(1, 1, 0)
        button('n', -200, 100)
        lf:gameobject_upload('n', 0, 7)
    )");
    start_a_over_c("Data/Scripts/next.lua");
    Level* old_level = Game::instance().level.get();
    Ref<Button> old_c(button(3));
    ASSERT_TRUE(old_c);
    keyboard.press(vk::enter);
    keyboard.press(vk::down);
    tick();
    EXPECT_EQ(lua_number("presses"), 1);
    ASSERT_NE(Game::instance().level.get(), old_level);
    EXPECT_NE(button(7), nullptr);
    // The old menu went with its level: the focus, which had moved to its "c", is empty.
    EXPECT_FALSE(old_c);
    EXPECT_EQ(focused_id(), 0);
    keyboard.release(vk::enter);
    keyboard.release(vk::down);
    for (int32_t key : {vk::left, vk::right, vk::up, vk::down, vk::enter})
        tap(key);
    EXPECT_EQ(lua_number("presses"), 1);
    // The new level's menu works once a script focuses it.
    ASSERT_EQ(
        lua("button('m', 200, 100)\nlf:set_focused_button('m')\nlf:gameobject_upload('m', 0, 8)"),
        "");
    tap(vk::enter);
    EXPECT_EQ(lua_number("presses"), 2);
    EXPECT_EQ(lua_number("last"), 8);
}

TEST_F(MenuTest, ResettingForALevelChangeClearsTheFocus) {
    start_grid();
    ASSERT_EQ(lua("lf:reset_all_extra_for_level_change()"), "");
    EXPECT_EQ(focused_id(), 0);
    EXPECT_FALSE(button(1)->focused);
    tick();
    EXPECT_EQ(centre(1), red);
    tap(vk::enter);
    EXPECT_EQ(lua_number("presses"), 0);
}

TEST_F(MenuTest, AButtonThatRemovesItselfOrItsNeighbourWhenPressed) {
    write_file("Data/Scripts/remove.lua", R"(
        presses = (presses or 0) + 1
        lf:remove_gameobject(parameter)
        lf:remove_gameobject(3)
    )");
    // "r" removes itself and its lower neighbour c while the menu step is pressing it.
    start(std::string(setup) + grid);
    ASSERT_EQ(lua("button('r', 0, 0, 'Data/Scripts/remove.lua')\n"
                  "lf:button_dependencies('r', '', 'c', '', '')\n"
                  "lf:set_focused_button('r')\n"
                  "lf:gameobject_upload('r', 0, 9)"),
              "");
    ASSERT_EQ(focused_id(), 9);
    tap(vk::enter);
    EXPECT_EQ(lua_number("presses"), 1);
    EXPECT_EQ(button(9), nullptr);
    EXPECT_EQ(button(3), nullptr);
    EXPECT_EQ(focused_id(), 0);
    tap(vk::down);
    tap(vk::enter);
    EXPECT_EQ(lua_number("presses"), 1);
}

TEST_F(MenuTest, ARemovedNeighbourIsNotFollowed) {
    start_grid();
    ASSERT_EQ(lua("lf:remove_gameobject_from_layer(0, 2)"), "");
    tap(vk::right);
    EXPECT_EQ(focused_id(), 1);
    tap(vk::down);
    EXPECT_EQ(focused_id(), 3);
    ASSERT_EQ(lua("lf:remove_gameobject(3)"), "");
    EXPECT_EQ(focused_id(), 0);
    tap(vk::enter);
    tap(vk::up);
    EXPECT_EQ(focused_id(), 0);
}

TEST_F(MenuTest, AButtonMayInstallANewMenuControllerDuringTheStep) {
    // The new controller presses with the up arrow.
    write_file("Data/Scripts/rebind.lua", R"(
        presses = (presses or 0) + 1
        lf:add_input_listener(4, 'up')
        lf:upload_controller(0)
    )");
    start_a_over_c("Data/Scripts/rebind.lua");
    Ref<UserController> old(menu().controller.get());
    // The press replaces the controller whose events the step is reading; its later down
    // event still moves the focus, and it is destroyed once the step is over.
    keyboard.press(vk::enter);
    keyboard.press(vk::down);
    tick();
    EXPECT_EQ(lua_number("presses"), 1);
    EXPECT_FALSE(old);
    EXPECT_EQ(focused_id(), 3);
    keyboard.release(vk::enter);
    keyboard.release(vk::down);
    tick();
    tap(vk::enter);
    EXPECT_EQ(lua_number("presses"), 1);
    tap(vk::up);
    EXPECT_EQ(lua_number("presses"), 2);
    EXPECT_EQ(lua_number("last"), 3);
}

TEST_F(MenuTest, NamesThatAreNotButtonsOrNotWaitingAreIgnored) {
    start(std::string(setup) + R"(
        button('a', -200, 100)
        button('b', 200, 100)
        lf:create_sprite('plain', 0, '', 0, 0)
        lf:button_dependencies('plain', 'a', 'a', 'a', 'a')
        lf:button_dependencies('a', 'plain', 'nothing', 'b', 'plain')
        lf:button_dependencies('nothing', 'a', 'a', 'a', 'a')
        lf:set_focused_button('plain')
        lf:set_focused_button('nothing')
    )");
    EXPECT_EQ(focused_id(), 0);
    auto* a = dynamic_cast<Button*>(TempLists::instance().game_objects.find("a"));
    ASSERT_NE(a, nullptr);
    EXPECT_FALSE(a->up);
    EXPECT_FALSE(a->down);
    EXPECT_FALSE(a->right);
    EXPECT_EQ(a->left.get(), TempLists::instance().game_objects.find("b"));
    // Uploaded names are no longer found.
    ASSERT_EQ(lua("lf:gameobject_upload('a', 0, 1)\nlf:set_focused_button('a')"), "");
    EXPECT_EQ(focused_id(), 0);
}

TEST_F(MenuTest, CreateButtonTakesItsLooksFromTheTempList) {
    start(std::string(setup) + R"(
        lf:create_sprite('look', 0, '', 0, 0)
        lf:create_button('same', 'look', 'look', '', '', '')
        lf:create_sprite('n', 0, '', 0, 0)
        lf:create_sprite('f', 0, '', 0, 0)
        lf:create_button('both', 'n', 'f', 'press.wav', 'focus.wav', 'x.lua')
        lf:create_button('none', 'missing', '', '', '', '')
    )");
    TempList<GameObject>& objects = TempLists::instance().game_objects;
    auto* same = dynamic_cast<TextureButton*>(objects.find("same"));
    ASSERT_NE(same, nullptr);
    EXPECT_NE(same->normal_look, nullptr);
    EXPECT_EQ(same->focused_look, nullptr);  // the name was already taken
    EXPECT_FALSE(same->press_sound);
    EXPECT_FALSE(same->focus_sound);
    auto* both = dynamic_cast<TextureButton*>(objects.find("both"));
    ASSERT_NE(both, nullptr);
    EXPECT_NE(both->normal_look, nullptr);
    EXPECT_NE(both->focused_look, nullptr);
    EXPECT_EQ(both->press_sound, "press.wav");
    EXPECT_EQ(both->focus_sound, "focus.wav");
    EXPECT_EQ(both->script, "x.lua");
    for (const char* look : {"look", "n", "f"})
        EXPECT_EQ(objects.find(look), nullptr) << look;
    auto* none = dynamic_cast<TextureButton*>(objects.find("none"));
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->normal_look, nullptr);
    EXPECT_FALSE(none->focused || none->pressed || none->up || none->down);
    // A button without looks draws nothing, focused or not.
    ASSERT_EQ(lua("lf:set_focused_button('none')\nlf:gameobject_upload('none', 0, 1)"), "");
    tick();
    EXPECT_EQ(pixel(640, 360), (Pixel{0, 0, 0, 255}));
}

TEST_F(MenuTest, APressThatOpensADialogGetsTheDialogStepInTheSameFrame) {
    write_file("Data/Scripts/press.lua", "lf:set_game_state(4)");
    start_grid();
    keyboard.press(vk::enter);
    tick();
    // No dialog exists, so the dialog step of the same frame already fell back to running.
    EXPECT_EQ(Game::instance().state, GameState::running);
}
