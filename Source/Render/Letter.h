#pragma once

class Texture;

// One letter of a letter table: a rectangle of a texture in texture coordinates.
struct Letter {
    const Texture* texture = nullptr;  // not owned
    float u_left = 0.0f;
    float u_right = 0.0f;
    float v_bottom = 0.0f;
    float v_top = 0.0f;
    // Width over height in texture pixels; 1 without a texture.
    float aspect = 1.0f;
};
