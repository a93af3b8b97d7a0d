#pragma once

#include "Render/Vector2.h"

class Texture;

// A rectangle of a texture in texture coordinates, (0, 0) being the picture's bottom-left.
struct SubTexture {
    Texture* texture = nullptr;  // not owned; null draws untextured
    // Bottom-left, bottom-right, top-right, top-left: the corner order of a sprite quad.
    Vector2 corners[4] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}};
};
