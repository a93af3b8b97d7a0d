#pragma once

#include "Render/CameraListener.h"
#include "Render/Subject.h"
#include "Render/Vector2.h"

// Which part of the world the window shows: a position (the centre of the view), a rotation and
// view bounds relative to the position. Whoever changes the fields calls the matching
// notification; nothing is notified automatically.
class Camera : public Subject<CameraListener> {
  public:
    Camera() = default;
    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;
    // Tells each listener attached at this moment, once each, in order.
    ~Camera() override;

    void notify_moved();
    void notify_projection_changed();

    // The view's extent around the position, as left, right, bottom and top offsets, for
    // drawing only what is in view. A turned camera covers at most its enclosing circle.
    struct Extent {
        float left, right, bottom, top;
    };
    Extent upright_extent() const;

    Vector2 position{0.0f, 0.0f};
    Vector2 axis_x{1.0f, 0.0f};
    Vector2 axis_y{0.0f, 1.0f};
    float left = -1.0f;
    float right = 1.0f;
    float bottom = -1.0f;
    float top = 1.0f;
};
