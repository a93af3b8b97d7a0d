#include "Scene/MultilineText.h"

#include <algorithm>

#include "Render/Renderer.h"

void MultilineText::draw(Renderer& renderer, const Color& tint) {
    renderer.draw_multiline_text(*this, tint);
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
