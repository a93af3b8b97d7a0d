#include "Scene/Text.h"

#include "Render/Renderer.h"

void Text::draw(Renderer& renderer, const Color& tint) {
    const LetterTable* table = font.get();
    if (!table || text.empty())
        return;
    const float w = width();
    const float bottom = v_align == 0 ? -height / 2.0f : v_align == 2 ? -height : 0.0f;
    const float x = h_align == 0 ? -w / 2.0f : h_align == 2 ? -w : 0.0f;
    renderer.draw_letters(transform, colour * tint, *table, text, x, bottom, height, letter_spacing,
                          scale);
}

float Text::width() const {
    const LetterTable* table = font.get();
    return table ? table->line_width(text, height, letter_spacing, scale) : 0.0f;
}
