#include "Platform/SystemFont.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int32_t default_pixels = 16;
// Letters taller than a screen are of no use and would cost memory.
constexpr int32_t max_pixels = 1024;

// Copies FreeType's top-down one-bit rows into bottom-up rows of whole bytes.
void copy_bits(const FT_Bitmap& bitmap, GlyphBitmap& out) {
    const int32_t row_bytes = (out.width + 7) / 8;
    out.bits.assign(static_cast<size_t>(row_bytes) * out.height, 0);
    for (int32_t y = 0; y < out.height; ++y) {
        const unsigned char* src = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
        uint8_t* dst = &out.bits[static_cast<size_t>(out.height - 1 - y) * row_bytes];
        if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
            std::copy(src, src + row_bytes, dst);
        } else {  // grey levels: ink where at least half covered
            for (int32_t x = 0; x < out.width; ++x)
                if (src[x] >= 128)
                    dst[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
    }
}

}  // namespace

std::string SystemFont::match(const std::string& face, bool bold, bool italic, int32_t* index) {
    if (index)
        *index = 0;
    if (!FcInit())
        return {};
    FcPattern* pattern = FcPatternCreate();
    if (!pattern)
        return {};
    if (!face.empty())
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* found = FcFontMatch(nullptr, pattern, &result);
    std::string file;
    if (found) {
        FcChar8* path = nullptr;
        if (FcPatternGetString(found, FC_FILE, 0, &path) == FcResultMatch && path)
            file = reinterpret_cast<const char*>(path);
        int i = 0;
        if (index && FcPatternGetInteger(found, FC_INDEX, 0, &i) == FcResultMatch)
            *index = i;
        FcPatternDestroy(found);
    }
    FcPatternDestroy(pattern);
    return file;
}

std::unique_ptr<std::array<GlyphBitmap, SystemFont::char_count>> SystemFont::render(
    const std::string& face, int32_t height, bool bold, bool italic) {
    int32_t index = 0;
    const std::string file = match(face, bold, italic, &index);
    if (file.empty())
        return nullptr;
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return nullptr;
    FT_Face ft = nullptr;
    if (FT_New_Face(library, file.c_str(), index, &ft) != 0) {
        FT_Done_FreeType(library);
        return nullptr;
    }

    // int64 and a clamp: a script may pass any 32-bit height.
    const int64_t wanted = height == 0 ? default_pixels : std::llabs(static_cast<int64_t>(height));
    int32_t pixels = static_cast<int32_t>(std::clamp<int64_t>(wanted, 1, max_pixels));
    FT_Set_Pixel_Sizes(ft, 0, static_cast<FT_UInt>(pixels));
    if (height > 0 && ft->size) {
        // A positive height is that of a whole line, ascent to descent, as the system's own
        // font calls measure it: shrink the em until the line fits.
        const int64_t line = ft->size->metrics.height >> 6;
        if (line > pixels) {
            pixels = std::max<int32_t>(1, static_cast<int32_t>(int64_t{pixels} * pixels / line));
            FT_Set_Pixel_Sizes(ft, 0, static_cast<FT_UInt>(pixels));
        }
    }

    auto glyphs = std::make_unique<std::array<GlyphBitmap, char_count>>();
    for (int32_t i = 0; i < char_count; ++i) {
        GlyphBitmap& g = (*glyphs)[i];
        // A character the face cannot render stays an empty picture that moves nothing.
        if (FT_Load_Char(ft, static_cast<FT_ULong>(first_char + i),
                         FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0)
            continue;
        const FT_GlyphSlot slot = ft->glyph;
        g.width = static_cast<int32_t>(slot->bitmap.width);
        g.height = static_cast<int32_t>(slot->bitmap.rows);
        g.x_origin = static_cast<float>(-slot->bitmap_left);
        g.y_origin = static_cast<float>(g.height - slot->bitmap_top);
        g.x_move = static_cast<float>(slot->advance.x) / 64.0f;
        if (g.width > 0 && g.height > 0 && slot->bitmap.buffer)
            copy_bits(slot->bitmap, g);
        else
            g.width = g.height = 0;
    }
    FT_Done_Face(ft);
    FT_Done_FreeType(library);
    return glyphs;
}
