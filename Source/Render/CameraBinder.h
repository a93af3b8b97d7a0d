#pragma once

#include <cstdint>

#include "Render/Vector2.h"

class Camera;

// Makes the camera follow a target while the view stays inside an area of the world. When the
// view centred on the target would cross an edge, the blocked axis stops following (it keeps
// its last value) until the view fits strictly inside again. With clamping on, the camera
// instead goes as near the target as the area lets the view go.
class CameraBinder {
  public:
    enum Mode : int32_t { following = 1, held = 2 };
    // How scripts choose what happens at an edge (camera_binder_mode).
    enum EdgeMode : int32_t { stop_at_edge = 0, clamp_at_edge = 1 };

    CameraBinder(float min_x, float max_x, float min_y, float max_y)
        : min_x(min_x), max_x(max_x), min_y(min_y), max_y(max_y) {}

    // The mode the binder should switch to for this target, or 0 to keep its mode. Updates
    // the axis flags whenever the view centred on the target does not fit the area.
    int32_t evaluate(const Camera& camera, Vector2 target);
    // Moves the camera towards the target as far as the area allows and tells its listeners,
    // unless both axes are blocked.
    void follow(Camera& camera, Vector2 target);
    // The camera position nearest the target whose view lies inside the area; on an axis where
    // the area is smaller than the view, the view is centred on the area.
    Vector2 clamped(const Camera& camera, Vector2 target) const;

    float min_x;
    float max_x;
    float min_y;
    float max_y;
    int32_t mode = following;
    bool y_free = true;
    bool x_free = true;
    bool clamp = false;
};
