#include "Render/CameraBinder.h"

#include "Render/Camera.h"

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
