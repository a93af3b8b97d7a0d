#include "Render/CameraBinder.h"

#include "Render/Camera.h"

#include <cmath>

int32_t CameraBinder::evaluate(const Camera& camera, Vector2 t) {
    const float view_left = t.x + camera.left, view_right = t.x + camera.right;
    const float view_bottom = t.y + camera.bottom, view_top = t.y + camera.top;
    const bool x_out = min_x > view_left || max_x < view_right;
    const bool y_out = min_y > view_bottom || max_y < view_top;

    int32_t result = 0;
    if (mode == following) {
        // Touching an edge still fits.
        if (!x_out && !y_out)
            return 0;
        result = held;
    } else if (mode == held) {
        // Coming back needs the view strictly inside.
        if (min_x < view_left && max_x > view_right && min_y < view_bottom && max_y > view_top)
            return following;
        result = 0;
    } else {
        return 0;
    }
    x_free = !x_out;
    y_free = !y_out;
    return result;
}

void CameraBinder::follow(Camera& camera, Vector2 target) {
    if (clamp) {
        camera.position = clamped(camera, target);
        camera.notify_moved();
        return;
    }
    if (int32_t m = evaluate(camera, target))
        mode = m;
    if (mode == following) {
        camera.position = target;
    } else if (mode == held) {
        if (x_free)
            camera.position.x = target.x;
        else if (y_free)
            camera.position.y = target.y;
        else
            return;
    } else {
        return;
    }
    camera.notify_moved();
}

namespace {

// The centre on one axis: the target, kept where the view [c + low, c + high] fits into
// [min, max]. Bounds beyond a float's range can leave no finite centre (an empty area reaching
// to infinity); the axis then follows the target rather than sending the camera to infinity.
float clamp_axis(float target, float low, float high, float min, float max) {
    const float least = min - low, most = max - high;
    const float centre = least > most ? (least + most) / 2.0f
                                      : (target < least ? least : (target > most ? most : target));
    return std::isfinite(centre) ? centre : target;
}

}  // namespace

Vector2 CameraBinder::clamped(const Camera& camera, Vector2 t) const {
    return {clamp_axis(t.x, camera.left, camera.right, min_x, max_x),
            clamp_axis(t.y, camera.bottom, camera.top, min_y, max_y)};
}
