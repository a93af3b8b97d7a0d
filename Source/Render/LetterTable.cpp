#include "Render/LetterTable.h"

int32_t LetterTable::size() const {
    int32_t n = 0;
    for (bool p : present_)
        n += p ? 1 : 0;
    return n;
}

float LetterTable::line_width(const std::string& line, float height, float letter_spacing,
                              float scale) const {
    float sum = 0.0f;
    int32_t found = 0;
    for (char c : line) {
        if (const Letter* letter = find(static_cast<unsigned char>(c))) {
            sum += letter->aspect * height;
            ++found;
        }
    }
    if (found >= 2)
        sum += letter_spacing * static_cast<float>(found - 1);
    return sum * scale;
}
