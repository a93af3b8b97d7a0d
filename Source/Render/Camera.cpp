#include "Render/Camera.h"

#include <algorithm>
#include <cmath>

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

Camera::Extent Camera::upright_extent() const {
    if (axis_x.x == 1.0f && axis_x.y == 0.0f)
        return {left, right, bottom, top};
    const float r =
        std::sqrt(std::max(left * left, right * right) + std::max(bottom * bottom, top * top));
    return {-r, r, -r, r};
}
