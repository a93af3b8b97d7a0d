#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct lua_State;

// The named constants scripts may use instead of bare numbers, in one global table made before
// the start-up script runs: velden.<family>.<NAME>, for example velden.sprite.ANIMATED.
class ScriptConstants {
  public:
    static constexpr const char* table_name = "velden";

    struct Constant {
        const char* family;
        std::string name;
        int32_t value;
    };

    // Every constant, grouped by family.
    static const std::vector<Constant>& all();

    // Sets the global table. Raises a Lua error when the interpreter runs out of memory, so
    // call it protected.
    static void declare(lua_State* L);
};
