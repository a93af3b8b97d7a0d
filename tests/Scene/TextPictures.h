#pragma once

// The pictures the text tests cut their fonts from, and the Lua that cuts them.

#include "Support/PngWriter.h"

// The "font" picture the text tests cut a letter table from: one band of 32 rows whose top row
// marks ' ' 8 pixels wide, '!' 16 and '"' 32, so their aspects are 0.25, 0.5 and 1. With solid
// letters, '!' is red and '"' green under their marks.
inline Picture marked_font_picture(bool solid_letters) {
    Picture p(128, 32);
    p.fill(0, 31, 8, 1, 255, 0, 255);
    p.fill(9, 31, 16, 1, 255, 0, 255);
    p.fill(26, 31, 32, 1, 255, 0, 255);
    if (solid_letters) {
        p.fill(9, 0, 16, 31, 255, 0, 0);
        p.fill(26, 0, 32, 31, 0, 255, 0);
    }
    return p;
}

// letters.png: two pixels, red and green.
inline Picture two_letter_picture() {
    Picture p(2, 1);
    p.set(0, 0, 255, 0, 0);
    p.set(1, 0, 0, 255, 0);
    return p;
}

// Lua that makes the font map "m" of letters.png: A red and B green, each 8 wide and 16 high
// with 2 between letters and 4 between lines.
constexpr const char* two_letter_font_map =
    "lf:init_texture('letters', 'letters.png', 0, 0, 0, 0)\n"
    "lf:load_resource(0, 'letters')\n"
    "lf:init_subtexture('letters', 'A', 0, 0, 0.5, 1)\n"
    "lf:init_subtexture('letters', 'B', 0.5, 0, 1, 1)\n"
    "lf:create_font('m', 16, 8, 2, 4)\n"
    "lf:add_letter_subtexture('m', 'A', 'A')\n"
    "lf:add_letter_subtexture('m', 'B', 'B')\n";
