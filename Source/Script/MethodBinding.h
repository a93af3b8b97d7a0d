#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

#include <lua.hpp>

#include "Script/LuaFunctions.h"

// How a C++ parameter or result type travels between Lua and the engine. Fetching goes into a
// plain value first (a Lua error may longjmp out of the fetch), and only then into the engine's
// type.
template <class T>
struct ArgKind;

template <>
struct ArgKind<float> {
    static constexpr char code = 'n';
    using Raw = float;
    static Raw fetch(lua_State* L, int i) { return static_cast<float>(luaL_checknumber(L, i)); }
    static float convert(Raw r) { return r; }
};

template <>
struct ArgKind<int32_t> {
    static constexpr char code = 'i';
    using Raw = int32_t;
    static Raw fetch(lua_State* L, int i) { return static_cast<int32_t>(luaL_checkinteger(L, i)); }
    static int32_t convert(Raw r) { return r; }
};

template <>
struct ArgKind<bool> {
    static constexpr char code = 'b';
    using Raw = bool;
    static Raw fetch(lua_State* L, int i) {
        luaL_checktype(L, i, LUA_TBOOLEAN);
        return lua_toboolean(L, i) != 0;
    }
    static bool convert(Raw r) { return r; }
};

struct RawString {
    const char* text;
    size_t length;
};

template <>
struct ArgKind<const std::string&> {
    static constexpr char code = 's';
    using Raw = RawString;
    static Raw fetch(lua_State* L, int i) {
        size_t n = 0;
        const char* s = luaL_checklstring(L, i, &n);
        return {s, n};
    }
    static std::string convert(Raw r) { return std::string(r.text, r.length); }
};

template <class R>
struct ResultKind;
template <>
struct ResultKind<void> {
    static constexpr const char* code = "";
};
template <>
struct ResultKind<int32_t> {
    static constexpr const char* code = "i";
    static void push(lua_State* L, int32_t v) { lua_pushinteger(L, v); }
};
template <>
struct ResultKind<float> {
    static constexpr const char* code = "n";
    static void push(lua_State* L, float v) { lua_pushnumber(L, static_cast<double>(v)); }
};
template <>
struct ResultKind<bool> {
    static constexpr const char* code = "b";
    static void push(lua_State* L, bool v) { lua_pushboolean(L, v); }
};
template <>
struct ResultKind<const char*> {
    static constexpr const char* code = "s";
    static void push(lua_State* L, const char* v) { lua_pushstring(L, v); }  // null gives nil
};

// Type check of argument 1 against the class named in upvalue 1; returns the engine object.
// Raises the binding's errors for anything that is not an instance.
LuaFunctions* check_self_slow(lua_State* L);

// The object that the accepted userdata at index 1 stands for: its own when the binding made it
// and still counts it, else one shared object (every object is alike).
LuaFunctions* bound_object(lua_State* L);

// The same check, first trying the common case in a few steps: a full userdata whose metatable
// is the class's own (upvalue 3 of the method closure). Everything else (const instances, other
// classes) takes the full check, which gives the same answers and errors as ever.
inline LuaFunctions* check_self(lua_State* L) {
    if (lua_type(L, 1) == LUA_TUSERDATA && lua_getmetatable(L, 1)) {
        const bool exact = lua_rawequal(L, -1, lua_upvalueindex(3)) != 0;
        lua_pop(L, 1);
        if (exact)
            return bound_object(L);
    }
    return check_self_slow(L);
}

// Calls the engine function once every argument has been fetched. Strings are built here, after
// the last point where a Lua error could unwind the stack.
template <class R, class... A, class Tuple, size_t... I>
R call_method(LuaFunctions* self, R (LuaFunctions::*fn)(A...), Tuple& raw,
              std::index_sequence<I...>) {
    return (self->*fn)(ArgKind<A>::convert(std::get<I>(raw))...);
}

template <class R, class... A, size_t... I>
int dispatch_method(lua_State* L, std::index_sequence<I...> seq) {
    LuaFunctions* self = check_self(L);
    using Fn = R (LuaFunctions::*)(A...);
    Fn fn;
    std::memcpy(&fn, lua_touserdata(L, lua_upvalueindex(2)), sizeof fn);
    // Braced initialisation fetches the arguments in script order.
    std::tuple<typename ArgKind<A>::Raw...> raw{ArgKind<A>::fetch(L, int(I) + 2)...};
    if constexpr (std::is_void_v<R>) {
        call_method(self, fn, raw, seq);
        return 0;
    } else {
        R result = call_method(self, fn, raw, seq);
        ResultKind<R>::push(L, result);
        return 1;
    }
}

template <class R, class... A>
int dispatch(lua_State* L) {
    return dispatch_method<R, A...>(L, std::index_sequence_for<A...>{});
}

// One line of the registration table: a script function's name and its engine method. The
// dispatcher and the argument kinds are deduced from the method's signature.
struct MethodEntry {
    static constexpr size_t max_pointer_size = 2 * sizeof(void*);

    const char* name;
    lua_CFunction dispatcher;
    unsigned char method[max_pointer_size];
    std::string args;    // one letter per argument: n number, i integer, b boolean, s string
    std::string result;  // empty, or one letter as above

    template <class R, class... A>
    MethodEntry(const char* name_, R (LuaFunctions::*fn)(A...))
        : name(name_),
          dispatcher(&dispatch<R, A...>),
          args{ArgKind<A>::code...},
          result(ResultKind<R>::code) {
        static_assert(sizeof fn <= max_pointer_size);
        std::memcpy(method, &fn, sizeof fn);
    }
};
