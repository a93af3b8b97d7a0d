// Script functions of the script host.
#include "Script/LuaFunctions.h"
#include "Script/ScriptHost.h"

void LuaFunctions::do_file(const std::string& path) {
    ScriptHost::run_script(path, 0);
}
