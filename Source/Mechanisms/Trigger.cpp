#include "Mechanisms/Trigger.h"

#include "Script/ScriptHost.h"

Trigger::~Trigger() = default;

void fire_trigger_script(const std::string& script, int32_t id, const char* origin) {
    // The path is copied: the script may destroy the trigger that holds it.
    const std::string path = script;
    ScriptHost::run_script(path, id, origin, id);
}
