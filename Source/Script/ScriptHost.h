#pragma once

#include <cstdint>
#include <string>

struct lua_State;

// The process's one Lua interpreter. Scripts run only inside run_script (and the method calls
// they make); load and run errors leave the interpreter's stack as it was and are reported only
// when ScriptErrorLog is enabled.
class ScriptHost {
  public:
    // Creates the interpreter with the standard libraries, declares LuaFunctions and the table
    // of named constants. When the interpreter cannot be created the engine runs without
    // scripts.
    static void start();
    // Sets the global "parameter", loads and runs the file; true when both succeeded. An empty
    // path is no script: nothing runs and nothing is reported. The origin (for example "leave
    // script of gate trigger") and its id, when not negative, name where a reported failure
    // came from.
    static bool run_script(const std::string& path, int32_t parameter, const char* origin = nullptr,
                           int32_t origin_id = -1);
    static void close();
    // The interpreter, or null before start and after close.
    static lua_State* state();
    // "file:line" of the innermost script function running now (the caller of the engine
    // function being called), or "" when no script runs.
    static std::string calling_place();
    // lua_pcall for code outside scripts that runs Lua (tools, tests). The collector runs only
    // inside protected calls, so that a "__gc" a script made raise cannot end the process.
    static int pcall(lua_State* L, int nargs, int nresults);
    // Nanoseconds spent inside run_script since the process started (nested runs counted
    // once), for the frame overlay's split of the frame time.
    static uint64_t busy_nanoseconds();
};
