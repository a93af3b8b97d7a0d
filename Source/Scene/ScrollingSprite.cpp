#include "Scene/ScrollingSprite.h"

bool ScrollingSprite::update(float dt) {
    const float d = scroll_speed * dt;
    if (scroll_mode == vertical) {
        for (Vector2& t : tex_coords)
            t.y += d;
        if (tex_coords[2].y > 2.0f || tex_coords[3].y > 2.0f)
            for (int i = 0; i < 4; ++i)
                tex_coords[i] = saved_tex_coords[i];
    } else if (scroll_mode == horizontal) {
        for (Vector2& t : tex_coords)
            t.x += d;
        if (tex_coords[1].x > 2.0f || tex_coords[2].x > 2.0f)
            for (int i = 0; i < 4; ++i)
                tex_coords[i] = saved_tex_coords[i];
    }
    return false;
}
