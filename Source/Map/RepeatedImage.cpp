#include "Map/RepeatedImage.h"

#include <cmath>

#include "Render/Camera.h"
#include "Render/Renderer.h"

RepeatedImage::RepeatedImage(const Texture* texture, Vector2 top_left, Vector2 size, bool repeat_x,
                             bool repeat_y)
    : texture_(texture),
      top_left_(top_left),
      size_(size),
      repeat_x_(repeat_x),
      repeat_y_(repeat_y) {}

void RepeatedImage::draw(Renderer& renderer, const Color& tint) {
    const Camera* camera = renderer.camera();
    if (!camera || !(size_.x > 0) || !(size_.y > 0))
        return;
    const auto [left, right, bottom, top] = camera->upright_extent();
    const Vector2 p = camera->position;
    // In copies from the top-left corner, rightwards and downwards: the whole copies that
    // cover the view along a repeating axis, the one copy along the other.
    float a0 = 0, a1 = 1, b0 = 0, b1 = 1;
    if (repeat_x_) {
        a0 = std::floor((p.x + left - top_left_.x) / size_.x);
        a1 = std::ceil((p.x + right - top_left_.x) / size_.x);
    }
    if (repeat_y_) {
        b0 = std::floor((top_left_.y - (p.y + top)) / size_.y);
        b1 = std::ceil((top_left_.y - (p.y + bottom)) / size_.y);
    }
    if (!std::isfinite(a0) || !std::isfinite(a1) || !std::isfinite(b0) || !std::isfinite(b1))
        return;
    const float x0 = top_left_.x + a0 * size_.x, x1 = top_left_.x + a1 * size_.x;
    const float y0 = top_left_.y - b1 * size_.y, y1 = top_left_.y - b0 * size_.y;
    const Vector2 corners[4] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    // The picture's top row is at v = 1; whole copies keep the coordinates whole at the edges.
    const Vector2 tex[4] = {{a0, 1 - b1}, {a1, 1 - b1}, {a1, 1 - b0}, {a0, 1 - b0}};
    renderer.draw_quad(Transform{}, corners, tint, texture_, tex);
}
