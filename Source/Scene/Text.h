#pragma once

#include <cstdint>
#include <string>

#include "Core/Tracked.h"
#include "Render/LetterTable.h"
#include "Scene/Entity.h"

// One line of proportional letters from a letter table, placed by alignment codes:
// horizontal 0 centred on the origin, 1 left edge there, 2 right edge there; vertical 0
// centred, 1 bottom edge there, 2 top edge there.
class Text : public Entity {
  public:
    void draw(Renderer& renderer, const Color& tint) override;

    // 0 without a font.
    float width() const;

    std::string text;
    Ref<const LetterTable> font;
    float height = 1.0f;  // letter height in local units
    float letter_spacing = 0.0f;
    float scale = 1.0f;  // multiplies letter widths and spacing
    int32_t h_align = 1;
    int32_t v_align = 1;
};
