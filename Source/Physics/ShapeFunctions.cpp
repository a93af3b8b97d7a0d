// Script functions of shapes and colliders.
#include "Physics/Collider.h"
#include "Physics/ShapeBuilding.h"
#include "Scene/Level.h"
#include "Scene/TempLists.h"
#include "Script/LuaFunctions.h"
#include "Shell/Game.h"

namespace {

TempList<Shape>& shapes() {
    return TempLists::instance().shapes;
}

}  // namespace

void LuaFunctions::shape_remove_from_temp_list(const std::string& name) {
    shapes().forget(name);
}

void LuaFunctions::create_shape(const std::string& name, int32_t kind, float a, float b) {
    if (std::unique_ptr<Shape> shape = make_shape(kind, a, b))
        shapes().put(name, std::move(shape));
}

void LuaFunctions::shape_vertex(const std::string& name, int32_t index, float x, float y) {
    set_shape_vertex(shapes().find(name), index, x, y);
}

void LuaFunctions::create_circle(const std::string& name, float x, float y, float radius) {
    shapes().put(name, make_circle(x, y, radius));
}

void LuaFunctions::circle_center(const std::string& name, float x, float y) {
    set_circle_center(shapes().find(name), x, y);
}

void LuaFunctions::circle_radius(const std::string& name, float radius) {
    set_circle_radius(shapes().find(name), radius);
}

void LuaFunctions::create_collider(int32_t id, const std::string& shape_name, float x, float y) {
    Level* level = Game::instance().level.get();
    if (!level)
        return;
    // The collider keeps its own clone: the name stays in the temp list for other owners.
    level->colliders.push_back(make_collider(id, shapes().find(shape_name), x, y));
}
