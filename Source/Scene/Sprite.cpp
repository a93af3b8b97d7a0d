#include "Scene/Sprite.h"

void Sprite::set_half_size(float w, float h) {
    corners[0] = {-w, -h};
    corners[1] = {w, -h};
    corners[2] = {w, h};
    corners[3] = {-w, h};
}

void Sprite::copy_sprite_state(const Sprite& from) {
    transform = from.transform;
    for (int i = 0; i < 4; ++i)
        corners[i] = from.corners[i];
    colour = from.colour;
}
