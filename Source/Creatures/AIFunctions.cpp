// Script functions of the pathing graph, the AI states and the player's health.
#include <cmath>

#include "Creatures/AIAgent.h"
#include "Scene/TempLists.h"
#include "Script/LuaFunctions.h"

namespace {

PendingPath& pending() {
    return TempLists::instance().pending_path;
}

}  // namespace

void LuaFunctions::create_pathing_graph(bool loop) {
    pending() = PendingPath{};
    pending().loop = loop;
}

void LuaFunctions::add_pathing_graph_point(float x, float y) {
    // A creature sent to a point that is not a number would be lost for good.
    if (std::isfinite(x) && std::isfinite(y))
        pending().waypoints.push_back({x, y});
}
