#pragma once

#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <vector>

struct lua_State;
struct MethodEntry;

// Random calls of the registered script functions through the interpreter. Arguments follow each
// function's argument kinds most of the time: numbers from the awkward ones (0, negatives, huge,
// NaN, infinities, the 32-bit limits) and ordinary ones, strings mostly from a pool of names the
// run has used already, so later calls find what earlier ones made. Now and then an argument is
// of the wrong kind, missing or extra, or the call is not made on a LuaFunctions instance.
//
// Between the calls come Lua tricks aimed at the binding itself: reads and writes of fields of
// instances, the class and their metatables, "__parent" chains and loops, methods called on
// foreign values, the class metatable put on other values with the debug library, "__gc" called
// by hand, and coroutines that call engine functions and are abandoned. A repair call puts the
// binding's tables back (install() defines it), so the calls after it meet an intact class.
class ScriptFuzzer {
  public:
    struct Value {
        enum Kind { number, boolean, string, nil, table, instance } kind = nil;
        double n = 0;
        bool b = false;
        std::string s;
    };
    // A Call's function that stands for the game's start-up script run again.
    static constexpr size_t rerun_init = ~size_t{0};
    // A Call's function that runs its code, a Lua trick or the repair.
    static constexpr size_t lua_code = ~size_t{0} - 1;

    struct Call {
        size_t function = 0;  // index in the registration table, or rerun_init
        Value self;
        std::vector<Value> args;
        int depth = 0;     // 0 from the fuzzer's frame loop, more from inside scripts
        std::string code;  // for lua_code
    };

    explicit ScriptFuzzer(uint64_t seed);

    // Saves the binding's tables as they are and defines the global function the repair calls;
    // run once the game has made the global "lf".
    static bool install(lua_State* L);

    // Adds a name to the pool for good (names a game's own scripts use, so calls reach what
    // they built).
    void add_name(const std::string& name);

    // The next call; the generator's state moves on.
    Call next(int depth);
    // Makes the call in L, on the global "lf". The result, when there is one, goes to
    // last_result. Returns false (with what went wrong in fault) when the call broke a rule
    // that holds for any arguments: the Lua stack changed, or a number came back non-finite.
    bool perform(lua_State* L, const Call& call);
    // The call as a line of Lua that makes it again.
    static std::string describe(const Call& call);

    // Draws below n (n > 0).
    uint64_t below(uint64_t n) { return rng_() % n; }
    bool chance(uint64_t one_in) { return below(one_in) == 0; }

    std::string fault;
    // Calls that ran without a Lua error.
    uint64_t accepted = 0;

  private:
    // A number: a quarter of the time one of the awkward values, a quarter small(), else
    // usual().
    template <class Small, class Usual>
    Value mixed_number(std::span<const double> awkward, Small small, Usual usual);
    Value number_arg();
    Value integer_arg();
    Value string_arg();
    Value wrong_kind();
    Value arg_of_kind(char kind);
    std::string trick();
    std::string foreign_value();
    std::string arguments_for(size_t function);

    std::mt19937_64 rng_;
    std::vector<std::string> pool_;
    size_t fixed_names_ = 0;  // the pool's first names stay; the others are replaced in turn
    std::vector<std::string> recent_;  // strings of the last calls, most often picked again
    size_t recent_next_ = 0;
    uint64_t names_made_ = 0;
    int calls_since_trick_ = -1;  // -1: no trick in force
};
