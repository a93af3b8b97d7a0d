#pragma once

#include <cstdint>

#include "Render/Color.h"

// Blend factors by number: 0 zero, 1 one, 2 src colour, 3 one minus src colour, 4 dst colour,
// 5 one minus dst colour, 6 src alpha, 7 one minus src alpha, 8 dst alpha, 9 one minus dst
// alpha, 14 src alpha saturate.
using BlendFactor = int32_t;
// Depth functions by number: 0 never, 1 less, 2 less-or-equal, 3 equal, 4 greater, 5 not equal,
// 6 greater-or-equal, 7 always.
using DepthFunc = uint32_t;

struct BlendState {
    bool enabled = false;
    int32_t color_selector = 0;  // only 0 is accepted
    int32_t alpha_selector = 0;  // only 0 is accepted
    BlendFactor src_color = 1;
    BlendFactor dst_color = 0;
    BlendFactor src_alpha = 1;
    BlendFactor dst_alpha = 0;
    Color constant_color{0, 0, 0, 0};  // carried, never applied

    static BlendState alpha() { return {true, 0, 0, 6, 7, 6, 7, {0, 0, 0, 0}}; }
    static BlendState additive() { return {true, 0, 0, 6, 1, 6, 1, {0, 0, 0, 0}}; }
};

struct CullState {
    bool enabled = false;
    int32_t front_face = 0;  // 0 counter-clockwise, 1 clockwise
    int32_t cull_face = 0;   // 0 back, 1 front
};

struct DepthState {
    bool test_enabled = false;
    bool write_enabled = false;
    DepthFunc func = 7;
};

// Each side: 0 points, 1 lines, 2 fill.
struct PolygonModeState {
    int32_t back = 2;
    int32_t front = 2;
};
