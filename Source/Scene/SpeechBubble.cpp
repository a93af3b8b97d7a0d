#include "Scene/SpeechBubble.h"

#include <algorithm>
#include <cmath>

#include "Render/Renderer.h"

void SpeechBubble::draw(Renderer& renderer, const Color& tint) {
    const float r = radius, m = std::max(width, r), h = height;
    const float xl = h_align == 0 ? -m / 2.0f : h_align == 1 ? r : h_align == 2 ? -r - m : 0.0f;
    const float yb = v_align == 0 ? -h / 2.0f : v_align == 1 ? r : v_align == 2 ? -h - r : 0.0f;
    const float xr = xl + m, yt = yb + h;
    // The tail sits under the target as near as the bottom edge allows, with half a radius kept
    // free at each end.
    const Transform& t = transform;
    float tx = 0.0f;
    if (t.scale != 0.0f)
        tx = t.unrotate(tail_target - t.position).x / t.scale;
    const float from = xl + r / 2.0f, to = xr - r / 2.0f;
    float px = std::isnan(tx) ? from : tx;
    px = std::max(std::min(px, std::max(from, to)), std::min(from, to));
    renderer.draw_speech_bubble(transform, colour * tint, xl, yb, xr, yt, r, px);
}
