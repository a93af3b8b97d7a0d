#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Core/Tracked.h"
#include "Render/LetterTable.h"
#include "Scene/Entity.h"

// A block of lines of proportional letters. The block is placed by h_align and v_align as a
// Text is; line_align places each line inside the block (0 centred, 1 left, 2 right).
class MultilineText : public Entity {
  public:
    void draw(Renderer& renderer, const Color& tint) override;

    // 0 without a font or for an index past the lines.
    float line_width(size_t line) const;
    // The widest line.
    float block_width() const;
    // Lines and the gaps between them; not multiplied by scale.
    float block_height() const;

    std::vector<std::string> lines;
    Ref<const LetterTable> font;
    float line_spacing = 0.0f;
    float height = 1.0f;
    float letter_spacing = 0.0f;
    float scale = 1.0f;
    int32_t h_align = 1;
    int32_t v_align = 1;
    int32_t line_align = 1;
};
