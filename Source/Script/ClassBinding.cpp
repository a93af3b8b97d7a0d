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

// "__index" of the class table and of both metatables.
int lookup(lua_State* L) {
    if (!lua_getmetatable(L, 1)) {
        lua_pushnil(L);
        return 1;
    }
    for (;;) {
        int mt = lua_gettop(L);
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

        lua_pushstring(L, "__parent");
        lua_rawget(L, mt);
        if (!lua_istable(L, -1)) {
            lua_pushnil(L);
            return 1;
        }
    }
}

// Finds a setter for key 2 in "__propset" of the metatable of 1 or of its parents; leaves it on
// the stack and returns true, or raises the property error.
void find_setter(lua_State* L) {
    if (lua_getmetatable(L, 1)) {
        for (;;) {
            int mt = lua_gettop(L);
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
            lua_pushstring(L, "__parent");
            lua_rawget(L, mt);
            if (!lua_istable(L, -1))
                break;
        }
    }
    luaL_error(L, "attempt to set %s, which isn't a property", lua_tostring(L, 2));
}

// "__newindex" of both metatables: setter(o, v).
int set_instance_property(lua_State* L) {
    find_setter(L);
    lua_pushvalue(L, 1);
    lua_pushvalue(L, 3);
    lua_call(L, 2, 0);
    return 0;
}

// "__newindex" of the class table: setter(v).
int set_static_property(lua_State* L) {
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

void drop_reference(LuaFunctions* obj) noexcept {
    auto& refs = ClassBinding::references();
    auto it = refs.find(obj);
    int32_t count = it == refs.end() ? 0 : --it->second;
    if (count < 1) {
        if (it != refs.end())
            refs.erase(it);
        delete obj;
    }
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
    drop_reference(*slot);
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
    int top = lua_gettop(L);
    luaL_getmetatable(L, name);
    int expected = lua_gettop(L);
    if (!lua_getmetatable(L, 1))
        lua_pushnil(L);
    while (!lua_rawequal(L, -1, expected)) {
        int actual = lua_gettop(L);
        if (lua_istable(L, actual)) {
            lua_pushstring(L, "__const");
            lua_rawget(L, actual);
            bool is_const = lua_rawequal(L, -1, expected);
            lua_pop(L, 1);
            if (is_const)
                break;
            lua_pushstring(L, "__parent");
            lua_rawget(L, actual);
            if (lua_istable(L, -1))
                continue;
            lua_pop(L, 1);
        }
        raise_wrong_class(L, name, type_name_of(L, actual, 1));
    }
    lua_settop(L, top);
    LuaFunctions** slot = address_slot(L, 1);
    // An instance whose object was collected by hand still works: every object is alike.
    static LuaFunctions shared;
    return slot && *slot ? *slot : &shared;
}

std::map<LuaFunctions*, int32_t>& ClassBinding::references() {
    static std::map<LuaFunctions*, int32_t> table;
    return table;
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
