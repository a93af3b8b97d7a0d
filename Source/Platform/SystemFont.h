#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One character of a system font as a one-bit picture, ready for glBitmap: rows bottom-up,
// each row padded to whole bytes, the most significant bit leftmost.
struct GlyphBitmap {
    int32_t width = 0;
    int32_t height = 0;
    // From the pen position to the picture's lower-left corner is (-x_origin, -y_origin).
    float x_origin = 0.0f;
    float y_origin = 0.0f;
    float x_move = 0.0f;  // how far the pen moves after the character
    std::vector<uint8_t> bits;
};

// A system font found by fontconfig and rendered by FreeType, for the characters 32 to 127.
class SystemFont {
  public:
    static constexpr int32_t first_char = 32;
    static constexpr int32_t char_count = 96;

    // The font file fontconfig matches for the face name and style (its default face when
    // nothing better matches); empty when it finds none at all.
    static std::string match(const std::string& face, bool bold, bool italic, int32_t* index);

    // The 96 characters; null when no font can be found or opened. height < 0 asks for an em
    // of -height pixels, height > 0 for lines of about height pixels, 0 for a default size.
    static std::unique_ptr<std::array<GlyphBitmap, char_count>> render(const std::string& face,
                                                                       int32_t height, bool bold,
                                                                       bool italic);
};
