#pragma once

#include <cstdint>

#include "Scene/TexturedSprite.h"

// A textured sprite whose texture coordinates slide along one axis and jump back to the saved
// coordinates once an edge passes 2.
class ScrollingSprite : public TexturedSprite {
  public:
    enum ScrollMode : int32_t { vertical = 0, horizontal = 1, none = 2 };

    using TexturedSprite::TexturedSprite;
    bool update(float dt) override;
    // A copy does not scroll: the clone of a TexturedSprite.

    int32_t scroll_mode = none;
    float scroll_speed = 0.0f;
    Vector2 saved_tex_coords[4] = {};
};
