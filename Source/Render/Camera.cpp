#include "Render/Camera.h"

Camera::~Camera() {
    // Each listener detaches itself while being told, so walk a copy.
    std::vector<CameraListener*> told = listeners_;
    for (CameraListener* listener : told)
        listener->camera_destroyed(*this);
    listeners_.clear();
}

void Camera::notify_moved() {
    for (size_t i = 0; i < listeners_.size(); ++i)
        listeners_[i]->camera_moved(*this);
}

void Camera::notify_projection_changed() {
    for (size_t i = 0; i < listeners_.size(); ++i)
        listeners_[i]->camera_projection_changed(*this);
}
