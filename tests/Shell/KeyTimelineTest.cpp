#include <gtest/gtest.h>

#include <sstream>

#include "Platform/HeldKeys.h"
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

TEST(HeldKeys, OutOfRangeCodesAreIgnored) {
    HeldKeys keys;
    for (int32_t code : {-1, 256, INT32_MIN, INT32_MAX}) {
        keys.set(code, true);
        EXPECT_FALSE(keys.is_down(code));
        EXPECT_FALSE(keys.went_down(code));
    }
}
