#include <SDL.h>
#include <gtest/gtest.h>

#include "Platform/EventPump.h"
#include "Platform/SdlKeyboard.h"
#include "Platform/VirtualKeys.h"

TEST(VirtualKeys, TableCoversTheKeysScriptsUse) {
    struct Case {
        int32_t vk;
        SDL_Scancode a, b;
    };
    const Case cases[] = {
        {'A', SDL_SCANCODE_A, SDL_SCANCODE_UNKNOWN},
        {'Z', SDL_SCANCODE_Z, SDL_SCANCODE_UNKNOWN},
        {'0', SDL_SCANCODE_0, SDL_SCANCODE_UNKNOWN},
        {'1', SDL_SCANCODE_1, SDL_SCANCODE_UNKNOWN},
        {'9', SDL_SCANCODE_9, SDL_SCANCODE_UNKNOWN},
        {vk::left, SDL_SCANCODE_LEFT, SDL_SCANCODE_UNKNOWN},
        {vk::up, SDL_SCANCODE_UP, SDL_SCANCODE_UNKNOWN},
        {vk::right, SDL_SCANCODE_RIGHT, SDL_SCANCODE_UNKNOWN},
        {vk::down, SDL_SCANCODE_DOWN, SDL_SCANCODE_UNKNOWN},
        {vk::space, SDL_SCANCODE_SPACE, SDL_SCANCODE_UNKNOWN},
        {vk::enter, SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER},
        {vk::escape, SDL_SCANCODE_ESCAPE, SDL_SCANCODE_UNKNOWN},
        {vk::tab, SDL_SCANCODE_TAB, SDL_SCANCODE_UNKNOWN},
        {vk::back, SDL_SCANCODE_BACKSPACE, SDL_SCANCODE_UNKNOWN},
        {vk::shift, SDL_SCANCODE_LSHIFT, SDL_SCANCODE_RSHIFT},
        {vk::control, SDL_SCANCODE_LCTRL, SDL_SCANCODE_RCTRL},
        {vk::alt, SDL_SCANCODE_LALT, SDL_SCANCODE_RALT},
        {vk::left_shift, SDL_SCANCODE_LSHIFT, SDL_SCANCODE_UNKNOWN},
        {vk::right_control, SDL_SCANCODE_RCTRL, SDL_SCANCODE_UNKNOWN},
        {vk::right_alt, SDL_SCANCODE_RALT, SDL_SCANCODE_UNKNOWN},
        {vk::f1, SDL_SCANCODE_F1, SDL_SCANCODE_UNKNOWN},
        {vk::f1 + 11, SDL_SCANCODE_F12, SDL_SCANCODE_UNKNOWN},
        {vk::numpad0, SDL_SCANCODE_KP_0, SDL_SCANCODE_UNKNOWN},
        {vk::numpad0 + 9, SDL_SCANCODE_KP_9, SDL_SCANCODE_UNKNOWN},
        {0x6B, SDL_SCANCODE_KP_PLUS, SDL_SCANCODE_UNKNOWN},
        {0xBC, SDL_SCANCODE_COMMA, SDL_SCANCODE_UNKNOWN},
        {0xBE, SDL_SCANCODE_PERIOD, SDL_SCANCODE_UNKNOWN},
        {0xDB, SDL_SCANCODE_LEFTBRACKET, SDL_SCANCODE_UNKNOWN},
        {vk::home, SDL_SCANCODE_HOME, SDL_SCANCODE_UNKNOWN},
        {vk::end, SDL_SCANCODE_END, SDL_SCANCODE_UNKNOWN},
        {vk::page_up, SDL_SCANCODE_PAGEUP, SDL_SCANCODE_UNKNOWN},
        {vk::page_down, SDL_SCANCODE_PAGEDOWN, SDL_SCANCODE_UNKNOWN},
        {vk::insert, SDL_SCANCODE_INSERT, SDL_SCANCODE_UNKNOWN},
        {vk::del, SDL_SCANCODE_DELETE, SDL_SCANCODE_UNKNOWN},
    };
    for (const Case& c : cases) {
        auto sc = VirtualKeys::scancodes(c.vk);
        EXPECT_EQ(sc[0], c.a) << std::hex << c.vk;
        EXPECT_EQ(sc[1], c.b) << std::hex << c.vk;
    }
    for (int32_t bad : {-1, 0, 256, 100000})
        EXPECT_EQ(VirtualKeys::scancodes(bad)[0], 0);
}

TEST(SdlKeyboard, KeyDownEventsAreReportedOnceEachToTheirKeys) {
    ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0);
    auto push_key = [](SDL_Scancode sc, int repeat) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.scancode = sc;
        e.key.repeat = repeat;
        SDL_PushEvent(&e);
    };
    SdlKeyboard& kb = SdlKeyboard::instance();
    push_key(SDL_SCANCODE_LSHIFT, 0);
    push_key(SDL_SCANCODE_SPACE, 1);  // a repeat is not a new press
    EXPECT_FALSE(EventPump::pump());
    EXPECT_TRUE(kb.went_down(vk::shift));
    EXPECT_TRUE(kb.went_down(vk::left_shift));
    EXPECT_FALSE(kb.went_down(vk::shift));
    EXPECT_FALSE(kb.went_down(vk::right_shift));
    EXPECT_FALSE(kb.went_down(vk::space));
    EXPECT_FALSE(kb.went_down(-5));
    EXPECT_FALSE(kb.is_down(100000));

    EventPump::post_quit();
    push_key(SDL_SCANCODE_A, 0);
    EXPECT_TRUE(EventPump::pump());
    // Pumping stopped at the quit message; the key press is taken by the next pump.
    EXPECT_FALSE(kb.went_down('A'));
    EXPECT_FALSE(EventPump::pump());
    EXPECT_TRUE(kb.went_down('A'));
    SDL_Quit();
}
