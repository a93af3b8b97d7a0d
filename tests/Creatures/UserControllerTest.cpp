#include <gtest/gtest.h>

#include <vector>

#include "Creatures/UserController.h"
#include "Flow/KeyNames.h"
#include "Platform/VirtualKeys.h"
#include "Support/ScriptedKeyboard.h"

static std::ostream& operator<<(std::ostream& os, const ControllerEvent& e) {
    return os << "{" << e.command << ", " << (e.value ? "down" : "up") << "}";
}

using Events = std::vector<ControllerEvent>;

// A controller over the scripted keyboard, with the arrow keys named as the sample game names
// them.
class UserControllerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Keyboard::set_current(&keyboard);
        for (auto [code, name] : {std::pair{vk::left, "left"}, std::pair{vk::right, "right"},
                                  std::pair{vk::up, "up"}, std::pair{vk::enter, "enter"}})
            KeyNames::instance().add(code, name);
    }
    void TearDown() override { Keyboard::set_current(nullptr); }

    Events poll() {
        controller.poll();
        return controller.events;
    }

    ScriptedKeyboard keyboard;
    UserController controller;
};

TEST_F(UserControllerTest, ReportsEachChangeOnceAtThePollAfterIt) {
    controller.add_binding(command::left, "left");
    controller.add_binding(command::action, "enter");
    EXPECT_EQ(poll(), Events{});
    keyboard.press(vk::enter);
    EXPECT_EQ(poll(), (Events{{command::action, true}}));
    // Held: nothing new.
    EXPECT_EQ(poll(), Events{});
    EXPECT_EQ(poll(), Events{});
    keyboard.release(vk::enter);
    EXPECT_EQ(poll(), (Events{{command::action, false}}));
    // Down and up again between two polls: the controller never sees it.
    keyboard.press(vk::left);
    keyboard.release(vk::left);
    EXPECT_EQ(poll(), Events{});
    EXPECT_EQ(controller.poll(), 2);
}

TEST_F(UserControllerTest, AKeyHeldBeforeTheFirstPollIsReportedPressed) {
    keyboard.press(vk::up);
    controller.add_binding(command::up, "up");
    EXPECT_EQ(poll(), (Events{{command::up, true}}));
    EXPECT_EQ(poll(), Events{});
}

TEST_F(UserControllerTest, LeftAndRightInOneFrameGiveTwoEventsInBindingOrder) {
    // Bound right first: its event comes first, whatever order the keys went down in.
    controller.add_binding(command::right, "right");
    controller.add_binding(command::left, "left");
    keyboard.press(vk::left);
    keyboard.press(vk::right);
    EXPECT_EQ(poll(), (Events{{command::right, true}, {command::left, true}}));
    keyboard.release(vk::left);
    EXPECT_EQ(poll(), (Events{{command::left, false}}));
}

TEST_F(UserControllerTest, RebindingACommandReplacesItsKeyAndForgetsItWasHeld) {
    controller.add_binding(command::up, "up");
    keyboard.press(vk::up);
    keyboard.press(vk::enter);
    EXPECT_EQ(poll(), (Events{{command::up, true}}));
    controller.add_binding(command::up, "enter");
    ASSERT_EQ(controller.bindings.size(), 1u);
    EXPECT_EQ(controller.bindings[0].key_code, vk::enter);
    EXPECT_FALSE(controller.bindings[0].held);
    // The new key is already down: reported at the next poll; the old key is no longer read.
    EXPECT_EQ(poll(), (Events{{command::up, true}}));
    keyboard.release(vk::up);
    EXPECT_EQ(poll(), Events{});
}

TEST_F(UserControllerTest, AnUnknownKeyNameBindsCodeZeroWhichNeverFires) {
    controller.add_binding(command::action, "no such key");
    ASSERT_EQ(controller.bindings.size(), 1u);
    EXPECT_EQ(controller.bindings[0].key_code, 0);
    keyboard.press(0);
    EXPECT_EQ(poll(), Events{});
}

TEST_F(UserControllerTest, OnlyTheFirstEventOfACommandIsKeptInOnePoll) {
    controller.add_event(command::down, true);
    controller.add_event(command::up, false);
    controller.add_event(command::down, false);
    controller.add_event(command::up, true);
    EXPECT_EQ(controller.events, (Events{{command::down, true}, {command::up, false}}));
    // The next poll starts from an empty list.
    EXPECT_EQ(poll(), Events{});
}
