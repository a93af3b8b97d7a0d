#include "Map/TiledColor.h"

#include <cctype>

bool TiledColor::parse(const std::string& text, Color& colour) {
    std::string hex = !text.empty() && text[0] == '#' ? text.substr(1) : text;
    if (hex.size() != 6 && hex.size() != 8)
        return false;
    for (char c : hex)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    auto byte = [&](size_t i) { return std::stoi(hex.substr(i, 2), nullptr, 16) / 255.0f; };
    const size_t rgb = hex.size() == 8 ? 2 : 0;
    colour = {byte(rgb), byte(rgb + 2), byte(rgb + 4), hex.size() == 8 ? byte(0) : 1.0f};
    return true;
}
