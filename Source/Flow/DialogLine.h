#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Render/Transform.h"
#include "Render/Vector2.h"

// One speech bubble of a dialog frame: where it stands, how it looks and what it says.
struct DialogLine {
    Transform placement;  // the position is the bubble's anchor
    // 0 centred on the anchor, 1 the anchor is the bubble's left (bottom) edge, 2 its right
    // (top) edge.
    int32_t h_mode = 1;
    int32_t v_mode = 1;
    // The name of a letter table in the game's fonts, looked up when the bubble is built (so
    // the built-in fonts, made after the start-up script, serve dialogs set up by it).
    std::string font;
    Vector2 tail_point{0.0f, 0.0f};
    float corner_radius = 1.0f;
    float margin = 0.0f;
    float line_gap = 0.0f;
    float letter_size = 1.0f;
    float letter_gap = 0.0f;
    float text_scale = 1.0f;
    int32_t text_align = 1;  // of each line in the block: 0 centred, 2 right, others left
    std::vector<std::string> texts;
    // How many advances the bubble stays for.
    int32_t countdown = 1;
};
