#include "Script/ClassBinding.h"

#include <cstdio>
#include <cstring>
#include <new>

#include <lua.hpp>

#include "Script/FunctionTable.h"
#include "Script/LuaFunctions.h"

namespace {

// The class that method registration fills: "(unknown type)" until a class is declared.
const char* current_class = "(unknown type)";

// The address a userdata of this class holds, or null when it holds none (or is too small to).
LuaFunctions** address_slot(lua_State* L, int index) {
    if (lua_type(L, index) != LUA_TUSERDATA || lua_objlen(L, index) < sizeof(LuaFunctions*))
        return nullptr;
    return static_cast<LuaFunctions**>(lua_touserdata(L, index));
}

// Raises "%s expected, got %s" for argument 1; the text is at most 255 characters.
int raise_wrong_class(lua_State* L, const char* expected, const char* got) {
    char text[256];
    std::snprintf(text, sizeof text, "%s expected, got %s", expected, got);
    return luaL_argerror(L, 1, text);
}

// The "__type" of the table at index, or the value's type name when it has none.
const char* type_name_of(lua_State* L, int metatable, int value) {
    if (lua_istable(L, metatable)) {
        lua_pushstring(L, "__type");
        lua_rawget(L, metatable);
        const char* t = lua_tostring(L, -1);
        if (t)
            return t;  // still on the stack, so the text stays alive
    }
    return luaL_typename(L, value);
}

// Scripts may rebuild the metatables (with the debug library, even on other values), so every
// walk up "__parent" keeps the metatable in one stack slot and stops after this many links: a
// loop or an absurdly deep chain ends in a Lua error instead of overflowing the stack.
constexpr int max_parent_links = 256;

// Replaces the metatable in slot mt with its "__parent"; false when it has none.
bool climb_to_parent(lua_State* L, int mt) {
    lua_pushstring(L, "__parent");
    lua_rawget(L, mt);
    if (!lua_istable(L, -1)) {
        lua_pop(L, 1);
        return false;
    }
    lua_replace(L, mt);
    return true;
}

int raise_too_deep(lua_State* L) {
    return luaL_error(L, "'__parent' chain loops or is deeper than %d tables", max_parent_links);
}

// "__index" of the class table and of both metatables.
int lookup(lua_State* L) {
    lua_settop(L, 2);
    luaL_checkstack(L, 4, nullptr);
    if (!lua_getmetatable(L, 1)) {
        lua_pushnil(L);
        return 1;
    }
    const int mt = 3;
    for (int links = 0;; ++links) {
        lua_pushvalue(L, 2);
        lua_rawget(L, mt);
        if (!lua_isnil(L, -1))
            return 1;
        lua_pop(L, 1);

        lua_pushstring(L, "__propget");
        lua_rawget(L, mt);
        if (lua_istable(L, -1)) {
            lua_pushvalue(L, 2);
            lua_rawget(L, -2);
            if (!lua_isnil(L, -1)) {
                lua_pushvalue(L, 1);
                lua_call(L, 1, 1);
                return 1;
            }
            lua_pop(L, 1);
        }
        lua_pop(L, 1);

        lua_pushstring(L, "__const");
        lua_rawget(L, mt);
        if (lua_istable(L, -1)) {
            lua_pushvalue(L, 2);
            lua_rawget(L, -2);
            if (!lua_isnil(L, -1))
                return 1;
            lua_pop(L, 1);
        }
        lua_pop(L, 1);

        if (!climb_to_parent(L, mt)) {
            lua_pushnil(L);
            return 1;
        }
        if (links == max_parent_links)
            return raise_too_deep(L);
    }
}

// Finds a setter for key 2 in "__propset" of the metatable of 1 or of its parents and leaves it
// on the stack, or raises the property error (also for a chain that loops: it holds no setter).
void find_setter(lua_State* L) {
    luaL_checkstack(L, 4, nullptr);
    if (lua_getmetatable(L, 1)) {
        const int mt = lua_gettop(L);
        for (int links = 0; links <= max_parent_links; ++links) {
            lua_pushstring(L, "__propset");
            lua_rawget(L, mt);
            if (lua_istable(L, -1)) {
                lua_pushvalue(L, 2);
                lua_rawget(L, -2);
                if (!lua_isnil(L, -1))
                    return;
                lua_pop(L, 1);
            }
            lua_pop(L, 1);
            if (!climb_to_parent(L, mt))
                break;
        }
    }
    luaL_error(L, "attempt to set %s, which isn't a property", lua_tostring(L, 2));
}

// "__newindex" of both metatables: setter(o, v).
int set_instance_property(lua_State* L) {
    lua_settop(L, 3);
    find_setter(L);
    lua_pushvalue(L, 1);
    lua_pushvalue(L, 3);
    lua_call(L, 2, 0);
    return 0;
}

// "__newindex" of the class table: setter(v).
int set_static_property(lua_State* L) {
    lua_settop(L, 3);
    find_setter(L);
    lua_pushvalue(L, 3);
    lua_call(L, 1, 0);
    return 0;
}

// Counts one more script instance of obj; false when memory ran out.
bool add_reference(LuaFunctions*& obj) noexcept {
    try {
        obj = new LuaFunctions;
        ++ClassBinding::references()[obj];
        return true;
    } catch (...) {
        delete obj;
        obj = nullptr;
        return false;
    }
}

// Only addresses the binding made and still counts are ever deleted: with the debug library a
// script can put the class metatable on any userdata, whose contents are none of ours.
bool drop_reference(LuaFunctions* obj) noexcept {
    auto& refs = ClassBinding::references();
    auto it = refs.find(obj);
    if (it == refs.end())
        return false;
    if (--it->second < 1) {
        refs.erase(it);
        delete obj;
    }
    return true;
}

// "__call" of the class table; upvalue 1 is the instance metatable.
int construct(lua_State* L) {
    LuaFunctions** slot = static_cast<LuaFunctions**>(lua_newuserdata(L, sizeof(LuaFunctions*)));
    *slot = nullptr;
    LuaFunctions* obj = nullptr;
    if (!add_reference(obj))
        return luaL_error(L, "not enough memory");
    *slot = obj;
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_setmetatable(L, -2);
    return 1;
}

// "__gc" of both metatables; upvalue 1 is the name the metatable is registered under.
int collect(lua_State* L) {
    lua_settop(L, 1);
    const char* name = lua_tostring(L, lua_upvalueindex(1));
    luaL_getmetatable(L, name);
    int expected = lua_gettop(L);
    if (!lua_getmetatable(L, 1))
        lua_pushnil(L);
    if (!lua_rawequal(L, -1, expected)) {
        const char* shown = name;
        const size_t prefix = std::strlen(ClassBinding::const_prefix);
        if (std::strncmp(shown, ClassBinding::const_prefix, prefix) == 0)
            shown += prefix;
        return raise_wrong_class(L, shown, type_name_of(L, lua_gettop(L), 1));
    }
    LuaFunctions** slot = address_slot(L, 1);
    if (!slot || !*slot)
        return 0;
    if (drop_reference(*slot))
        *slot = nullptr;
    return 0;
}

void set_function(lua_State* L, int table, const char* key, lua_CFunction fn) {
    lua_pushstring(L, key);
    lua_pushcfunction(L, fn);
    lua_rawset(L, table);
}

void set_closure(lua_State* L, int table, const char* key, lua_CFunction fn, const char* upvalue) {
    lua_pushstring(L, key);
    lua_pushstring(L, upvalue);
    lua_pushcclosure(L, fn, 1);
    lua_rawset(L, table);
}

void set_string(lua_State* L, int table, const char* key, const char* value) {
    lua_pushstring(L, key);
    lua_pushstring(L, value);
    lua_rawset(L, table);
}

void set_empty_table(lua_State* L, int table, const char* key) {
    lua_pushstring(L, key);
    lua_newtable(L);
    lua_rawset(L, table);
}

}  // namespace

LuaFunctions* check_self_slow(lua_State* L) {
    const char* name = lua_tostring(L, lua_upvalueindex(1));
    if (!lua_isuserdata(L, 1))
        luaL_typerror(L, 1, name);
    luaL_checkstack(L, 4, nullptr);
    int top = lua_gettop(L);
    luaL_getmetatable(L, name);
    int expected = lua_gettop(L);
    if (!lua_getmetatable(L, 1))
        lua_pushnil(L);
    const int actual = lua_gettop(L);
    for (int links = 0; !lua_rawequal(L, actual, expected); ++links) {
        if (lua_istable(L, actual) && links <= max_parent_links) {
            lua_pushstring(L, "__const");
            lua_rawget(L, actual);
            bool is_const = lua_rawequal(L, -1, expected);
            lua_pop(L, 1);
            if (is_const)
                break;
            if (climb_to_parent(L, actual))
                continue;
        }
        raise_wrong_class(L, name, type_name_of(L, actual, 1));
    }
    lua_settop(L, top);
    return bound_object(L);
}

LuaFunctions* bound_object(lua_State* L) {
    LuaFunctions** slot = address_slot(L, 1);
    // An instance whose object was collected by hand, or a userdata the binding never made that
    // a script gave the class metatable, still works: every object is alike.
    static LuaFunctions shared;
    if (!slot || !*slot || !ClassBinding::references().count(*slot))
        return &shared;
    return *slot;
}

std::map<LuaFunctions*, int32_t>& ClassBinding::references() {
    static std::map<LuaFunctions*, int32_t> table;
    return table;
}

void ClassBinding::release_all() {
    auto& refs = references();
    for (auto& [object, count] : refs)
        delete object;
    refs.clear();
}

void ClassBinding::declare(lua_State* L) {
    current_class = class_name;

    luaL_newmetatable(L, class_name);
    int instance_mt = lua_gettop(L);
    set_function(L, instance_mt, "__index", lookup);
    set_function(L, instance_mt, "__newindex", set_instance_property);
    set_closure(L, instance_mt, "__gc", collect, class_name);
    set_string(L, instance_mt, "__type", class_name);
    set_empty_table(L, instance_mt, "__propget");
    set_empty_table(L, instance_mt, "__propset");

    luaL_newmetatable(L, const_class_name);
    int const_mt = lua_gettop(L);
    set_function(L, const_mt, "__index", lookup);
    set_function(L, const_mt, "__newindex", set_instance_property);
    set_closure(L, const_mt, "__gc", collect, const_class_name);
    set_string(L, const_mt, "__type", const_class_name);
    set_empty_table(L, const_mt, "__propget");
    lua_pushstring(L, "__const");
    lua_pushvalue(L, const_mt);
    lua_rawset(L, instance_mt);

    lua_newtable(L);
    int class_table = lua_gettop(L);
    lua_pushvalue(L, class_table);
    lua_setmetatable(L, class_table);
    set_function(L, class_table, "__index", lookup);
    set_function(L, class_table, "__newindex", set_static_property);
    set_empty_table(L, class_table, "__propget");
    set_empty_table(L, class_table, "__propset");
    lua_pushstring(L, "__call");
    lua_pushvalue(L, instance_mt);
    lua_pushcclosure(L, construct, 1);
    lua_rawset(L, class_table);
    lua_pushvalue(L, class_table);
    lua_setglobal(L, class_name);
    lua_settop(L, instance_mt - 1);

    for (const MethodEntry& entry : function_table()) {
        luaL_getmetatable(L, current_class);
        lua_pushstring(L, entry.name);
        lua_pushstring(L, current_class);
        void* method = lua_newuserdata(L, sizeof entry.method);
        std::memcpy(method, entry.method, sizeof entry.method);
        // The instance metatable itself, for the quick self check.
        lua_pushvalue(L, -4);
        lua_pushcclosure(L, entry.dispatcher, 3);
        lua_rawset(L, -3);
        lua_pop(L, 1);
    }
}
