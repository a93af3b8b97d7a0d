#include "Scene/Text.h"

#include "Render/Renderer.h"

void Text::draw(Renderer& renderer, const Color& tint) {
    renderer.draw_text(*this, tint);
}

float Text::width() const {
    const LetterTable* table = font.get();
    return table ? table->line_width(text, height, letter_spacing, scale) : 0.0f;
}
