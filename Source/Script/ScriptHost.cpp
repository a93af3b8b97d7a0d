#include "Script/ScriptHost.h"

#include <chrono>
#include <lua.hpp>

#include "Script/ClassBinding.h"
#include "Script/ScriptConstants.h"
#include "Script/ScriptErrorLog.h"

namespace {

lua_State* interpreter = nullptr;
int depth = 0;
uint64_t busy_ns = 0;

// Counts the time of the outermost script run.
struct BusyTimer {
    using clock = std::chrono::steady_clock;
    clock::time_point start;
    BusyTimer() {
        if (depth++ == 0)
            start = clock::now();
    }
    ~BusyTimer() {
        if (--depth == 0)
            busy_ns += static_cast<uint64_t>(
                std::chrono::duration_cast<std::chrono::nanoseconds>(clock::now() - start).count());
    }
};

int declare_all(lua_State* L) {
    luaL_openlibs(L);
    ClassBinding::declare(L);
    ScriptConstants::declare(L);
    return 0;
}

// Protected calls under way. The collector runs only inside them: a script may give a
// metatable a "__gc" that raises, and a collection step started by an allocation outside any
// protected call would then end the process.
int protected_depth = 0;

// Protected on its own: a script may have given the globals table a metatable that raises,
// and the script still runs.
int set_parameter(lua_State* L) {
    lua_Integer value = *static_cast<int32_t*>(lua_touserdata(L, 1));
    lua_pushinteger(L, value);
    lua_setfield(L, LUA_GLOBALSINDEX, "parameter");
    return 0;
}

// Loads and runs the file; protected, as even the loader allocates before it protects itself.
int run_file(lua_State* L) {
    const char* path = static_cast<const char*>(lua_touserdata(L, 1));
    if (luaL_loadfile(L, path) != 0)
        return lua_error(L);
    lua_call(L, 0, 0);
    return 0;
}

// The interpreter's message on top of the stack: "file:line: text" for run errors. Only a
// string is read, as converting anything else would allocate.
std::string error_message(lua_State* L) {
    size_t n = 0;
    const char* text = lua_type(L, -1) == LUA_TSTRING ? lua_tolstring(L, -1, &n) : nullptr;
    return text ? std::string(text, n) : std::string("(error object is not a string)");
}

}  // namespace

void ScriptHost::start() {
    if (interpreter)
        return;
    ScriptErrorLog::configure();
    lua_State* L = luaL_newstate();
    if (!L)
        return;
    if (lua_cpcall(L, declare_all, nullptr) != 0) {
        lua_close(L);
        return;
    }
    lua_gc(L, LUA_GCSTOP, 0);
    interpreter = L;
}

bool ScriptHost::run_script(const std::string& path, int32_t parameter, const char* origin,
                            int32_t origin_id) {
    lua_State* L = interpreter;
    if (!L)
        return false;
    BusyTimer timer;
    const int top = lua_gettop(L);
    if (protected_depth++ == 0)
        lua_gc(L, LUA_GCRESTART, 0);
    lua_cpcall(L, set_parameter, &parameter);
    lua_settop(L, top);
    const bool ok = !path.empty() && lua_cpcall(L, run_file, const_cast<char*>(path.c_str())) == 0;
    if (--protected_depth == 0)
        lua_gc(L, LUA_GCSTOP, 0);
    if (!ok && !path.empty() && ScriptErrorLog::enabled()) {
        std::string message = error_message(L);
        if (origin) {
            message += " [";
            message += origin;
            if (origin_id >= 0)
                message += " " + std::to_string(origin_id);
            message += "]";
        }
        ScriptErrorLog::report(message);
    }
    lua_settop(L, top);
    return ok;
}

void ScriptHost::close() {
    if (!interpreter)
        return;
    lua_State* L = interpreter;
    interpreter = nullptr;
    lua_close(L);
    ClassBinding::release_all();
}

lua_State* ScriptHost::state() {
    return interpreter;
}

std::string ScriptHost::calling_place() {
    lua_State* L = interpreter;
    if (!L)
        return {};
    // Level 0 is the engine function itself when a script called it; C functions in between
    // (pcall, a coroutine's resume) have no line, so the first frame with one is the caller.
    lua_Debug ar;
    for (int level = 0; lua_getstack(L, level, &ar); ++level) {
        if (lua_getinfo(L, "Sl", &ar) && ar.currentline > 0)
            return std::string(ar.short_src) + ":" + std::to_string(ar.currentline);
    }
    return {};
}

int ScriptHost::pcall(lua_State* L, int nargs, int nresults) {
    if (protected_depth++ == 0)
        lua_gc(L, LUA_GCRESTART, 0);
    const int status = lua_pcall(L, nargs, nresults, 0);
    if (--protected_depth == 0)
        lua_gc(L, LUA_GCSTOP, 0);
    return status;
}

uint64_t ScriptHost::busy_nanoseconds() {
    return busy_ns;
}
