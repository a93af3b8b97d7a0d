// Script functions of the pathing graph, the AI states and the player's health.
#include <cmath>

#include "Creatures/AIAgent.h"
#include "Creatures/MovingCreature.h"
#include "Creatures/PatrolState.h"
#include "Creatures/PhysicalMoveState.h"
#include "Creatures/Player.h"
#include "Creatures/RunawayState.h"
#include "Scene/Sprite.h"
#include "Scene/TempLists.h"
#include "Script/LuaFunctions.h"
#include "Script/ScriptErrorLog.h"
#include "Shell/Game.h"

namespace {

PendingPath& pending() {
    return TempLists::instance().pending_path;
}

Health* player_health() {
    Player* player = Game::instance().player.get();
    return player ? &player->health : nullptr;
}

// The same for a function that needs a player: its absence is told at level 2.
Health* player_health(const char* function) {
    Health* health = player_health();
    if (!health)
        ScriptErrorLog::missing(function, "player");
    return health;
}

std::unique_ptr<AIState> make_state(const std::string& name, std::unique_ptr<AIAgent> agent) {
    if (name == "patrol")
        return std::make_unique<PatrolState>(std::move(agent));
    if (name == "runaway")
        return std::make_unique<RunawayState>(std::move(agent));
    if (name == "physicalmove")
        return std::make_unique<PhysicalMoveState>(std::move(agent));
    return nullptr;
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

void LuaFunctions::create_ai(const std::string& creature_name, const std::string& state_name) {
    auto* creature =
        dynamic_cast<MovingCreature*>(TempLists::instance().game_objects.find(creature_name));
    if (creature) {
        auto agent = std::make_unique<AIAgent>();
        agent->creature = creature;
        agent->waypoints = pending().waypoints;
        agent->index = pending().index;
        agent->loop = pending().loop;
        agent->step = pending().step;
        // An unknown behaviour makes no state; the agent goes with it.
        std::unique_ptr<AIState> state = make_state(state_name, std::move(agent));
        if (!state)
            ScriptErrorLog::missing(__func__, "behaviour", state_name);
        Game::instance().add_ai_state(std::move(state));
    } else {
        ScriptErrorLog::missing(__func__, "creature", creature_name);
    }
    pending() = PendingPath{};
    pending().loop = true;
}

void LuaFunctions::set_hp(float max, float recovery_delay, float regeneration, float) {
    if (Health* health = player_health(__func__))
        health->set_hp(max, recovery_delay, regeneration);
}

void LuaFunctions::set_death_effect(const std::string& name, float reset_alpha, float base_alpha,
                                    float full_scale, float empty_scale) {
    Health* health = player_health(__func__);
    if (!health)
        return;
    TempList<GameObject>& objects = TempLists::instance().game_objects;
    // Only a sprite the temp list owns can become the effect: one the effect shows as a quad,
    // and that no layer or other owner holds as well.
    if (dynamic_cast<Sprite*>(objects.find(name))) {
        if (std::unique_ptr<GameObject> object = objects.take(name)) {
            health->set_effect(std::unique_ptr<Sprite>(static_cast<Sprite*>(object.release())));
        }
    } else {
        ScriptErrorLog::missing(__func__, "sprite", name);
    }
    objects.forget(name);
    health->set_effect_look(reset_alpha, base_alpha, full_scale, empty_scale);
}

void LuaFunctions::damage(float add, float remove) {
    if (Health* health = player_health(__func__))
        health->damage(add, remove);
}

// Engine extensions.

float LuaFunctions::get_player_hp() {
    const Health* health = player_health();
    // Damage may take the count a little below 0 in the frame the player dies.
    return health && health->hp > 0.0f ? health->hp : 0.0f;
}

float LuaFunctions::get_player_max_hp() {
    const Health* health = player_health();
    return health ? health->max : 0.0f;
}
