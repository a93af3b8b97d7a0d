// Script functions that read the camera.
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
