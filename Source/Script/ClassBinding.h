#pragma once

#include <cstdint>
#include <map>

struct lua_State;
class LuaFunctions;

// Exposes LuaFunctions to Lua as a class: the class table (the global "LuaFunctions"), the
// instance and const metatables, the constructor, the collector and the method closures.
class ClassBinding {
  public:
    static constexpr const char* class_name = "LuaFunctions";
    static constexpr const char* const_prefix = "const ";
    static constexpr const char* const_class_name = "const LuaFunctions";

    // Declares the class and registers every method of the function table. Raises a Lua error
    // when the interpreter runs out of memory, so call it protected.
    static void declare(lua_State* L);

    // Script instances per engine object; an object is deleted when its count drops below 1.
    static std::map<LuaFunctions*, int32_t>& references();
    // Deletes the objects still counted once the interpreter is closed: an instance that a
    // script gave another metatable is never collected through the class's "__gc".
    static void release_all();
};
