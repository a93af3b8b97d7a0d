#pragma once

#include "Render/Vector2.h"

struct SubTexture;

// A letter a text spitter has shown.
struct SpitLetter {
    const SubTexture* subtexture = nullptr;  // null: a plain quad in the text colour
    Vector2 offset;                          // world units from the spitter's position
    Vector2 corners[4];                      // local units
};
