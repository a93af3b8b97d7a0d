#pragma once

#include <cstdint>

#include "Render/Vector2.h"
#include "Scene/Entity.h"

// A rounded rectangle with a tail under it that slides along the bottom edge towards a world
// point. width and height are those of the inner rectangle; the rounded corners (radius) lie
// outside it. Placed by alignment codes as a Text is.
class SpeechBubble : public Entity {
  public:
    void draw(Renderer& renderer, const Color& tint) override;

    float width = 0.0f;
    float height = 0.0f;
    float radius = 1.0f;  // of the corners, and the size of the tail
    Vector2 tail_target{0.0f, 0.0f};
    int32_t h_align = 1;
    int32_t v_align = 1;
};
