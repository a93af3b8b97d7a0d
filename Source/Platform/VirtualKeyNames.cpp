#include "Platform/VirtualKeyNames.h"

#include <cctype>
#include <cstdlib>

#include "Platform/VirtualKeys.h"

namespace {

struct Named {
    const char* name;
    int32_t code;
};

const Named named_keys[] = {
    {"backspace", vk::back},
    {"tab", vk::tab},
    {"enter", vk::enter},
    {"return", vk::enter},
    {"shift", vk::shift},
    {"control", vk::control},
    {"ctrl", vk::control},
    {"alt", vk::alt},
    {"pause", vk::pause},
    {"capslock", vk::caps_lock},
    {"escape", vk::escape},
    {"esc", vk::escape},
    {"space", vk::space},
    {"pageup", vk::page_up},
    {"pagedown", vk::page_down},
    {"end", vk::end},
    {"home", vk::home},
    {"left", vk::left},
    {"up", vk::up},
    {"right", vk::right},
    {"down", vk::down},
    {"insert", vk::insert},
    {"delete", vk::del},
    {"leftshift", vk::left_shift},
    {"rightshift", vk::right_shift},
    {"leftcontrol", vk::left_control},
    {"rightcontrol", vk::right_control},
    {"leftalt", vk::left_alt},
    {"rightalt", vk::right_alt},
};

}  // namespace

int32_t VirtualKeyNames::code(const std::string& text) {
    if (text.empty())
        return -1;
    std::string name;
    for (char c : text)
        name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    // A number of two or more digits, in decimal or (with 0x) hexadecimal.
    if (std::isdigit(static_cast<unsigned char>(name[0])) && name.size() > 1) {
        const bool hex = name.compare(0, 2, "0x") == 0;
        char* end = nullptr;
        long v = std::strtol(name.c_str() + (hex ? 2 : 0), &end, hex ? 16 : 10);
        if (hex && name.size() == 2)
            return -1;
        return (*end == '\0' && v >= 0 && v <= 255) ? static_cast<int32_t>(v) : -1;
    }
    // Letters and digits are their capital ASCII codes.
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
        return std::toupper(static_cast<unsigned char>(name[0]));
    for (const Named& k : named_keys)
        if (name == k.name)
            return k.code;
    // f1 to f24.
    if (name[0] == 'f' && name.size() <= 3 && std::isdigit(static_cast<unsigned char>(name[1]))) {
        char* end = nullptr;
        long n = std::strtol(name.c_str() + 1, &end, 10);
        if (*end == '\0' && n >= 1 && n <= 24)
            return vk::f1 + static_cast<int32_t>(n) - 1;
    }
    // numpad0 to numpad9.
    if (name.size() == 7 && name.compare(0, 6, "numpad") == 0 &&
        std::isdigit(static_cast<unsigned char>(name[6])))
        return vk::numpad0 + (name[6] - '0');
    return -1;
}
