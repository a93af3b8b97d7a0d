// Script functions of triggers.
#include "Creatures/Player.h"
#include "Mechanisms/GateTrigger.h"
#include "Mechanisms/TimedTrigger.h"
#include "Mechanisms/TriggerManager.h"
#include "Mechanisms/UseTrigger.h"
#include "Scene/TempLists.h"
#include "Script/LuaFunctions.h"
#include "Script/ScriptErrorLog.h"
#include "Shell/Game.h"

namespace {

TempList<Trigger>& triggers() {
    return TempLists::instance().triggers;
}

// The trigger of that name as T; a script naming none is told at level 2.
template <class T>
T* find(const std::string& name, const char* function, const char* what) {
    T* found = dynamic_cast<T*>(triggers().find(name));
    if (!found)
        ScriptErrorLog::missing(function, what, name);
    return found;
}

// The gate or use trigger of that name, when the kind a script passed is one of theirs (the
// two act alike here).
AreaTrigger* area_trigger(const std::string& name, int32_t kind, const char* function) {
    if (kind != Trigger::script_gate && kind != Trigger::script_use)
        return nullptr;
    return find<AreaTrigger>(name, function, "gate or use trigger");
}

}  // namespace

void LuaFunctions::create_trigger(const std::string& name, int32_t kind, const std::string& script,
                                  const std::string& second_script, float x, float y) {
    std::unique_ptr<Trigger> trigger;
    if (kind == Trigger::script_gate) {
        auto gate = std::make_unique<GateTrigger>();
        gate->enter_script = script;
        gate->leave_script = second_script;
        gate->transform.position = {x, y};
        trigger = std::move(gate);
    } else if (kind == Trigger::script_use) {
        auto use = std::make_unique<UseTrigger>();
        use->script = script;
        use->transform.position = {x, y};
        trigger = std::move(use);
    } else if (kind == Trigger::script_timed) {
        auto timed = std::make_unique<TimedTrigger>();
        timed->script = script;
        trigger = std::move(timed);
    } else {
        return;
    }
    triggers().put(name, std::move(trigger));
}

void LuaFunctions::timed_trigger_repeat(const std::string& name, float period, bool repeat) {
    if (auto* timed = find<TimedTrigger>(name, __func__, "timed trigger"))
        timed->set_repeat(period, repeat);
}

void LuaFunctions::trigger_set_color(const std::string& name, float red, float green, float blue,
                                     float alpha) {
    if (auto* area = find<AreaTrigger>(name, __func__, "gate or use trigger"))
        area->colour = {red, green, blue, alpha};
}

void LuaFunctions::trigger_shape(const std::string& name, int32_t kind,
                                 const std::string& shape_name) {
    AreaTrigger* area = area_trigger(name, kind, __func__);
    if (!area)
        return;
    if (std::unique_ptr<Shape> shape = TempLists::instance().shapes.take(shape_name))
        area->shape = std::move(shape);
    else
        ScriptErrorLog::missing(__func__, "shape", shape_name);
}

void LuaFunctions::trigger_add_group_i_belong_to(const std::string& name, int32_t kind,
                                                 const std::string& group) {
    if (AreaTrigger* area = area_trigger(name, kind, __func__))
        area->belong_to.add(group);
}

void LuaFunctions::trigger_add_group_can_use_me(const std::string& name, int32_t kind,
                                                const std::string& group) {
    if (AreaTrigger* area = area_trigger(name, kind, __func__))
        area->can_use_me.add(group);
}

void LuaFunctions::trigger_upload(const std::string& name, int32_t id) {
    TriggerManager* manager = Game::instance().triggers.get();
    if (!manager)
        return;
    if (std::unique_ptr<Trigger> trigger = triggers().take(name)) {
        trigger->id = id;
        manager->add(std::move(trigger));
    } else {
        ScriptErrorLog::missing(__func__, "trigger", name);
    }
}

// Engine extensions.

void LuaFunctions::trigger_remove(int32_t id) {
    Game& game = Game::instance();
    TriggerManager* manager = game.triggers.get();
    // The player's trigger is the player's, whatever its id.
    const AreaTrigger* kept = game.player ? game.player->managed_trigger.get() : nullptr;
    if (!manager || manager->remove_owned_with_id(id, kept) == 0)
        ScriptErrorLog::missing(__func__, "uploaded trigger with id", id);
}
