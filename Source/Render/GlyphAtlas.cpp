#include "Render/GlyphAtlas.h"

#include <algorithm>
#include <cmath>

namespace {

int32_t power_of_two_from(int32_t n) {
    int32_t p = 1;
    while (p < n)
        p *= 2;
    return p;
}

}  // namespace

GlyphAtlas::GlyphAtlas(std::unique_ptr<std::array<GlyphBitmap, SystemFont::char_count>> glyphs)
    : bitmaps_(std::move(glyphs)) {
    // Rows of cells in a picture about as wide as it is high, and at least 256 texels wide.
    int32_t widest = 0, tallest = 0;
    int64_t area = 0;
    for (const GlyphBitmap& g : *bitmaps_) {
        widest = std::max(widest, g.width);
        tallest = std::max(tallest, g.height);
    }
    for (const GlyphBitmap& g : *bitmaps_)
        area += int64_t{g.width + 1} * (tallest + 1);
    const auto side = static_cast<int32_t>(std::sqrt(static_cast<double>(area)));
    width_ = power_of_two_from(std::max({256, widest + 2, side}));
    int32_t x = 1, y = 1;
    for (size_t i = 0; i < bitmaps_->size(); ++i) {
        const GlyphBitmap& g = (*bitmaps_)[i];
        Glyph& out = glyphs_[i];
        out.width = g.width;
        out.height = g.height;
        out.x_origin = g.x_origin;
        out.y_origin = g.y_origin;
        out.x_move = g.x_move;
        if (g.width <= 0 || g.height <= 0)
            continue;
        if (x + g.width + 1 > width_) {
            x = 1;
            y += tallest + 1;
        }
        out.x = x;
        out.y = y;
        x += g.width + 1;
    }
    height_ = power_of_two_from(y + tallest + 1);
    coverage_.assign(static_cast<size_t>(width_) * height_, 0);
    for (size_t i = 0; i < bitmaps_->size(); ++i) {
        const GlyphBitmap& g = (*bitmaps_)[i];
        const Glyph& cell = glyphs_[i];
        if (g.width <= 0 || g.height <= 0)
            continue;
        const int32_t row_bytes = (g.width + 7) / 8;
        for (int32_t r = 0; r < g.height; ++r)
            for (int32_t c = 0; c < g.width; ++c)
                if (g.bits[static_cast<size_t>(r) * row_bytes + c / 8] & (0x80 >> (c % 8)))
                    coverage_[static_cast<size_t>(cell.y + r) * width_ + cell.x + c] = 255;
    }
}
