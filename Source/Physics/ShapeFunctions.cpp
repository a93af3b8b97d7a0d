// Script functions of shapes and colliders.
#include "Physics/Collider.h"
#include "Physics/ShapeBuilding.h"
#include "Scene/Level.h"
#include "Scene/TempLists.h"
#include "Script/LuaFunctions.h"
#include "Script/ScriptErrorLog.h"
#include "Shell/Game.h"

namespace {

TempList<Shape>& shapes() {
    return TempLists::instance().shapes;
}

// The shape of that name; a script naming one that is not there is told at level 2.
Shape* find(const std::string& name, const char* function) {
    Shape* shape = shapes().find(name);
    if (!shape)
        ScriptErrorLog::missing(function, "shape", name);
    return shape;
}

}  // namespace

void LuaFunctions::shape_remove_from_temp_list(const std::string& name) {
    if (!shapes().contains(name))
        ScriptErrorLog::missing(__func__, "shape", name);
    shapes().forget(name);
}

void LuaFunctions::create_shape(const std::string& name, int32_t kind, float a, float b) {
    if (std::unique_ptr<Shape> shape = make_shape(kind, a, b))
        shapes().put(name, std::move(shape));
}

void LuaFunctions::shape_vertex(const std::string& name, int32_t index, float x, float y) {
    set_shape_vertex(find(name, __func__), index, x, y);
}

void LuaFunctions::create_circle(const std::string& name, float x, float y, float radius) {
    shapes().put(name, make_circle(x, y, radius));
}

void LuaFunctions::circle_center(const std::string& name, float x, float y) {
    set_circle_center(find(name, __func__), x, y);
}

void LuaFunctions::circle_radius(const std::string& name, float radius) {
    set_circle_radius(find(name, __func__), radius);
}

void LuaFunctions::create_collider(int32_t id, const std::string& shape_name, float x, float y) {
    Level* level = Game::instance().level.get();
    if (!level) {
        ScriptErrorLog::missing(__func__, "current level");
        return;
    }
    // The collider keeps its own clone: the name stays in the temp list for other owners.
    level->colliders.push_back(make_collider(id, find(shape_name, __func__), x, y));
}
