#include "Render/ScreenFont.h"

#include <cmath>

#include "Platform/SystemFont.h"
#include "Render/Renderer.h"

namespace {
constexpr int32_t em_pixels = 13;
}

ScreenFont::ScreenFont() : font_("DejaVu Sans Mono", -em_pixels, false, false) {
    // The letter width of a monospaced face is that of any letter.
    if (auto glyphs = SystemFont::render(font_.face, font_.height, false, false)) {
        const float move = (*glyphs)['M' - SystemFont::first_char].x_move;
        if (move >= 1.0f)
            advance_ = static_cast<int32_t>(std::lround(move));
    }
    line_height_ = em_pixels + 4;
}

bool ScreenFont::upload(Renderer& renderer) {
    return renderer.upload(&font_);
}

void ScreenFont::draw(Renderer& renderer, int32_t x, int32_t y, const Color& color,
                      const char* text) {
    renderer.set_screen_font(font_);
    renderer.draw_screen_text(x, y, color, text);
}
