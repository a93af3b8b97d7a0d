#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "Platform/SystemFont.h"

// The characters of a system font in one picture of coverage (255 ink, 0 none), each in a cell
// of its own with a blank texel around it, so that letters can be drawn as textured quads. Also
// keeps the one-bit pictures, for what only glBitmap draws alike.
class GlyphAtlas {
  public:
    struct Glyph {
        int32_t width = 0;
        int32_t height = 0;
        float x_origin = 0.0f;
        float y_origin = 0.0f;
        float x_move = 0.0f;
        // The picture's lower-left texel in the atlas.
        int32_t x = 0;
        int32_t y = 0;
    };

    explicit GlyphAtlas(std::unique_ptr<std::array<GlyphBitmap, SystemFont::char_count>> glyphs);

    // Both powers of two.
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    // width x height bytes, rows bottom-up.
    const std::vector<uint8_t>& coverage() const { return coverage_; }
    // Null for a byte outside 32 to 127.
    const Glyph* glyph(unsigned char c) const {
        return c >= SystemFont::first_char && c < SystemFont::first_char + SystemFont::char_count
                   ? &glyphs_[c - SystemFont::first_char]
                   : nullptr;
    }
    const GlyphBitmap& bitmap(unsigned char c) const {
        return (*bitmaps_)[c - SystemFont::first_char];
    }

  private:
    std::unique_ptr<std::array<GlyphBitmap, SystemFont::char_count>> bitmaps_;
    std::array<Glyph, SystemFont::char_count> glyphs_;
    int32_t width_ = 1;
    int32_t height_ = 1;
    std::vector<uint8_t> coverage_;
};
