// Script functions that read and place the camera.
#include <cmath>

#include "Render/Camera.h"
#include "Script/LuaFunctions.h"
#include "Shell/Game.h"

float LuaFunctions::get_camera_x() {
    const Camera* camera = Game::instance().camera.get();
    return camera ? camera->position.x : 0.0f;
}

float LuaFunctions::get_camera_y() {
    const Camera* camera = Game::instance().camera.get();
    return camera ? camera->position.y : 0.0f;
}

// Engine extensions.

void LuaFunctions::camera_set_position(float x, float y) {
    Camera* camera = Game::instance().camera.get();
    // A position that is not a finite number would leave nothing to draw.
    if (!camera || !std::isfinite(x) || !std::isfinite(y))
        return;
    camera->position = {x, y};
    camera->notify_moved();
}
