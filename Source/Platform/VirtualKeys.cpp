#include "Platform/VirtualKeys.h"

#include <SDL.h>

namespace {

using Table = std::array<std::array<int32_t, 2>, VirtualKeys::count>;

Table build_table() {
    Table t{};
    auto set = [&t](int vk, SDL_Scancode a, SDL_Scancode b = SDL_SCANCODE_UNKNOWN) {
        t[vk] = {a, b};
    };
    for (int i = 0; i < 26; ++i)
        set('A' + i, SDL_Scancode(SDL_SCANCODE_A + i));
    set('0', SDL_SCANCODE_0);
    for (int i = 1; i <= 9; ++i)
        set('0' + i, SDL_Scancode(SDL_SCANCODE_1 + i - 1));
    for (int i = 0; i < 12; ++i)
        set(vk::f1 + i, SDL_Scancode(SDL_SCANCODE_F1 + i));
    set(vk::numpad0, SDL_SCANCODE_KP_0);
    for (int i = 1; i <= 9; ++i)
        set(vk::numpad0 + i, SDL_Scancode(SDL_SCANCODE_KP_1 + i - 1));
    set(0x6A, SDL_SCANCODE_KP_MULTIPLY);
    set(0x6B, SDL_SCANCODE_KP_PLUS);
    set(0x6C, SDL_SCANCODE_KP_ENTER);  // separator
    set(0x6D, SDL_SCANCODE_KP_MINUS);
    set(0x6E, SDL_SCANCODE_KP_PERIOD);
    set(0x6F, SDL_SCANCODE_KP_DIVIDE);
    set(0x90, SDL_SCANCODE_NUMLOCKCLEAR);
    set(0x91, SDL_SCANCODE_SCROLLLOCK);

    set(vk::back, SDL_SCANCODE_BACKSPACE);
    set(vk::tab, SDL_SCANCODE_TAB);
    set(vk::enter, SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER);
    set(vk::shift, SDL_SCANCODE_LSHIFT, SDL_SCANCODE_RSHIFT);
    set(vk::control, SDL_SCANCODE_LCTRL, SDL_SCANCODE_RCTRL);
    set(vk::alt, SDL_SCANCODE_LALT, SDL_SCANCODE_RALT);
    set(vk::pause, SDL_SCANCODE_PAUSE);
    set(vk::caps_lock, SDL_SCANCODE_CAPSLOCK);
    set(vk::escape, SDL_SCANCODE_ESCAPE);
    set(vk::space, SDL_SCANCODE_SPACE);
    set(vk::page_up, SDL_SCANCODE_PAGEUP);
    set(vk::page_down, SDL_SCANCODE_PAGEDOWN);
    set(vk::end, SDL_SCANCODE_END);
    set(vk::home, SDL_SCANCODE_HOME);
    set(vk::left, SDL_SCANCODE_LEFT);
    set(vk::up, SDL_SCANCODE_UP);
    set(vk::right, SDL_SCANCODE_RIGHT);
    set(vk::down, SDL_SCANCODE_DOWN);
    set(0x2C, SDL_SCANCODE_PRINTSCREEN);
    set(vk::insert, SDL_SCANCODE_INSERT);
    set(vk::del, SDL_SCANCODE_DELETE);
    set(0x5B, SDL_SCANCODE_LGUI);
    set(0x5C, SDL_SCANCODE_RGUI);
    set(0x5D, SDL_SCANCODE_APPLICATION);
    set(vk::left_shift, SDL_SCANCODE_LSHIFT);
    set(vk::right_shift, SDL_SCANCODE_RSHIFT);
    set(vk::left_control, SDL_SCANCODE_LCTRL);
    set(vk::right_control, SDL_SCANCODE_RCTRL);
    set(vk::left_alt, SDL_SCANCODE_LALT);
    set(vk::right_alt, SDL_SCANCODE_RALT);

    // Punctuation (US layout positions).
    set(0xBA, SDL_SCANCODE_SEMICOLON);
    set(0xBB, SDL_SCANCODE_EQUALS);
    set(0xBC, SDL_SCANCODE_COMMA);
    set(0xBD, SDL_SCANCODE_MINUS);
    set(0xBE, SDL_SCANCODE_PERIOD);
    set(0xBF, SDL_SCANCODE_SLASH);
    set(0xC0, SDL_SCANCODE_GRAVE);
    set(0xDB, SDL_SCANCODE_LEFTBRACKET);
    set(0xDC, SDL_SCANCODE_BACKSLASH);
    set(0xDD, SDL_SCANCODE_RIGHTBRACKET);
    set(0xDE, SDL_SCANCODE_APOSTROPHE);
    set(0xE2, SDL_SCANCODE_NONUSBACKSLASH);
    return t;
}

const Table table = build_table();

}  // namespace

std::array<int32_t, 2> VirtualKeys::scancodes(int32_t vk) {
    if (vk < 0 || vk >= count)
        return {0, 0};
    return table[vk];
}
