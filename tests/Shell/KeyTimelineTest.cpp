#include <gtest/gtest.h>

#include <sstream>

#include "Platform/HeldKeys.h"
#include "Platform/PadMap.h"
#include "Platform/VirtualKeyNames.h"
#include "Platform/VirtualKeys.h"
#include "Shell/KeyTimeline.h"

TEST(VirtualKeyNames, NamesLettersAndNumbers) {
    struct Case {
        const char* name;
        int32_t code;
    };
    const Case cases[] = {
        {"left", vk::left},
        {"RIGHT", vk::right},
        {"Escape", vk::escape},
        {"esc", vk::escape},
        {"space", vk::space},
        {"a", 'A'},
        {"Z", 'Z'},
        {"7", '7'},
        {"f1", vk::f1},
        {"F12", vk::f1 + 11},
        {"numpad3", vk::numpad0 + 3},
        {"37", 37},
        {"0x25", 0x25},
        {"255", 255},
        {"256", -1},
        {"0x", -1},
        {"f25", -1},
        {"", -1},
        {"leftt", -1},
        {"-1", -1},
        {"12a", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VirtualKeyNames::code(c.name), c.code) << c.name;
}

TEST(KeyTimeline, ChangesApplyOnTheirFrameInFileOrder) {
    KeyTimeline timeline;
    std::istringstream in(
        "5 up left   # released after the press below\n"
        "2 tap space\n"
        "   \n"
        "5 down left\n"
        "# comment line\n"
        "5 up left\n");
    std::string error;
    ASSERT_TRUE(timeline.parse(in, error)) << error;
    HeldKeys keys;
    std::vector<std::pair<bool, bool>> seen;  // space, left per frame
    for (int64_t frame = 1; frame <= 6; ++frame) {
        timeline.apply(frame, keys);
        seen.push_back({keys.is_down(vk::space), keys.is_down(vk::left)});
    }
    const std::vector<std::pair<bool, bool>> expected = {{false, false}, {true, false},
                                                         {false, false}, {false, false},
                                                         {false, false}, {false, false}};
    EXPECT_EQ(seen, expected);
    // The left press of frame 5 happened, though the key was up again by the frame's end.
    EXPECT_TRUE(keys.went_down(vk::left));
    EXPECT_FALSE(keys.went_down(vk::left));
}

TEST(KeyTimeline, PadInputsAreNamedAfterPadAndLeaveTheKeyboardAlone) {
    KeyTimeline timeline;
    std::istringstream in("3 down pad:south\n4 up Pad:Left_Stick_Up\n5 tap pad:dpad_left\n");
    std::string error;
    ASSERT_TRUE(timeline.parse(in, error)) << error;
    ASSERT_TRUE(timeline.uses_pad());
    struct Expected {
        int64_t frame;
        int32_t input;
        bool down;
    };
    const Expected expected[] = {{3, pad::south, true},
                                 {4, pad::left_stick_up, false},
                                 {5, pad::dpad_left, true},
                                 {6, pad::dpad_left, false}};
    ASSERT_EQ(timeline.changes().size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const KeyTimeline::Change& c = timeline.changes()[i];
        EXPECT_TRUE(c.pad) << i;
        EXPECT_EQ(c.frame, expected[i].frame) << i;
        EXPECT_EQ(c.code, expected[i].input) << i;
        EXPECT_EQ(c.down, expected[i].down) << i;
    }
    // Pad input codes are not key codes: south (0) and the d-pad are no keys here.
    HeldKeys keys;
    for (int64_t frame = 1; frame <= 6; ++frame)
        timeline.apply(frame, keys);
    for (int32_t code = 0; code < 256; ++code)
        EXPECT_FALSE(keys.is_down(code) || keys.went_down(code)) << code;

    KeyTimeline keys_only;
    std::istringstream plain("3 down left\n");
    ASSERT_TRUE(keys_only.parse(plain, error));
    EXPECT_FALSE(keys_only.uses_pad());
    for (const char* bad : {"1 down pad:\n", "1 down pad:jump\n", "1 down pad\n"}) {
        std::istringstream line(bad);
        EXPECT_FALSE(KeyTimeline().parse(line, error)) << bad;
    }
}

TEST(HeldKeys, OutOfRangeCodesAreIgnored) {
    HeldKeys keys;
    for (int32_t code : {-1, 256, INT32_MIN, INT32_MAX}) {
        keys.set(code, true);
        EXPECT_FALSE(keys.is_down(code));
        EXPECT_FALSE(keys.went_down(code));
    }
}
