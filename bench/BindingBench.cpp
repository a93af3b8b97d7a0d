// A script function call through the binding against a bare lua_CFunction doing the same work.
#include <benchmark/benchmark.h>

#include <lua.hpp>

#include "Script/ScriptHost.h"
#include "Shell/Game.h"

namespace {

// What set_game_state does, written directly against the Lua API.
int bare_set_game_state(lua_State* L) {
    luaL_checkudata(L, 1, "LuaFunctions");
    lua_Integer state = luaL_checkinteger(L, 2);
    if (state >= 0 && state <= 4)
        Game::instance().state = static_cast<GameState>(state);
    return 0;
}

lua_State* host_with_instance() {
    ScriptHost::start();
    lua_State* L = ScriptHost::state();
    luaL_dostring(L, "lf = LuaFunctions()");
    lua_pushcfunction(L, bare_set_game_state);
    lua_setglobal(L, "bare_set_game_state");
    return L;
}

// Calls fn(lf, 0) from a Lua loop of 1000 iterations, as a script would.
void run_loop(benchmark::State& state, const char* chunk) {
    lua_State* L = host_with_instance();
    luaL_loadstring(L, chunk);
    int fn = luaL_ref(L, LUA_REGISTRYINDEX);
    for (auto _ : state) {
        lua_rawgeti(L, LUA_REGISTRYINDEX, fn);
        lua_call(L, 0, 0);
    }
    state.SetItemsProcessed(state.iterations() * 1000);
    ScriptHost::close();
}

// The way scripts call: the method is looked up through the instance each time.
void BM_BindingMethodCall(benchmark::State& state) {
    run_loop(state, "local lf = lf for i = 1, 1000 do lf:set_game_state(0) end");
}
BENCHMARK(BM_BindingMethodCall);

// The dispatch alone, with the method fetched once like the bare function below.
void BM_BindingCall(benchmark::State& state) {
    run_loop(state, "local lf, f = lf, lf.set_game_state for i = 1, 1000 do f(lf, 0) end");
}
BENCHMARK(BM_BindingCall);

void BM_BareCFunctionCall(benchmark::State& state) {
    run_loop(state, "local lf, f = lf, bare_set_game_state for i = 1, 1000 do f(lf, 0) end");
}
BENCHMARK(BM_BareCFunctionCall);

// The loop alone, to subtract from both.
void BM_EmptyLoop(benchmark::State& state) {
    run_loop(state, "local lf = lf for i = 1, 1000 do end");
}
BENCHMARK(BM_EmptyLoop);

}  // namespace
