#pragma once

class Camera;

// Told by a camera when it moves, when its view bounds change and when it goes away.
class CameraListener {
  public:
    virtual ~CameraListener() = default;
    virtual void camera_destroyed(Camera& camera) = 0;
    virtual void camera_moved(Camera& camera) = 0;
    virtual void camera_projection_changed(Camera& camera) = 0;
};
