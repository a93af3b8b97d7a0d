#include "Scene/MultilineText.h"

#include <algorithm>

#include "Render/Renderer.h"

void MultilineText::draw(Renderer& renderer, const Color& tint) {
    const LetterTable* table = font.get();
    if (!table)
        return;
    const float W = block_width(), H = block_height();
    const float x0 = h_align == 0 ? -W / 2.0f : h_align == 2 ? -W : 0.0f;
    const float y0 = v_align == 0 ? H / 2.0f : v_align == 1 ? H : 0.0f;
    const Color c = colour * tint;
    for (size_t k = 0; k < lines.size(); ++k) {
        const float bottom = y0 - height - static_cast<float>(k) * (line_spacing + height);
        const float w = line_width(k);
        const float left = x0 + (line_align == 0 ? (W - w) / 2.0f : line_align == 2 ? W - w : 0.0f);
        renderer.draw_letters(transform, c, *table, lines[k], left, bottom, height, letter_spacing,
                              scale);
    }
}

float MultilineText::line_width(size_t line) const {
    const LetterTable* table = font.get();
    if (!table || line >= lines.size())
        return 0.0f;
    return table->line_width(lines[line], height, letter_spacing, scale);
}

float MultilineText::block_width() const {
    float widest = 0.0f;
    for (size_t i = 0; i < lines.size(); ++i)
        widest = std::max(widest, line_width(i));
    return widest;
}

float MultilineText::block_height() const {
    if (lines.empty() || !font)
        return 0.0f;
    const float n = static_cast<float>(lines.size());
    return height * n + line_spacing * (n - 1.0f);
}
