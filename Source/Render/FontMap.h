#pragma once

#include <array>

#include "Render/Resource.h"

struct SubTexture;

// A font that scripts assemble letter by letter from registered sub-textures; every letter has
// the same size. It is never uploaded: its sub-textures' textures are.
class FontMap : public Resource {
  public:
    FontMap(float letter_height, float letter_width, float letter_spacing, float line_spacing)
        : letter_height(letter_height),
          letter_width(letter_width),
          letter_spacing(letter_spacing),
          line_spacing(line_spacing) {}
    ~FontMap() override { release_everywhere(); }
    int32_t kind() const override { return font_map; }

    // The sub-texture of a letter, or null.
    const SubTexture* find(unsigned char c) const { return letters_[c]; }
    // Maps the letter unless it already has a sub-texture; false when it kept the first one.
    bool add_letter(unsigned char c, const SubTexture* subtexture);

    float letter_height;
    float letter_width;
    float letter_spacing;
    float line_spacing;

  private:
    std::array<const SubTexture*, 256> letters_{};  // not owned
};
