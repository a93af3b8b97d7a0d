#include "Script/ScriptFuzzer.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include <lua.hpp>

#include "Script/FunctionTable.h"
#include "Script/ScriptHost.h"

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr size_t new_names = 16;  // pool places for names the run makes up
constexpr size_t recent_limit = 8;
constexpr size_t long_length = 10000;

// Files and names the fuzzed game folder holds, so calls reach loading and nested scripts.
const char* const seed_names[] = {
    "Data/Images/fuzz.png",
    "Data/Scripts/fuzz_inner.lua",
    "Data/Scripts/fuzz_error.lua",
    "Data/Scripts/INIT_test.lua",
    "fuzz",
    "hero",
    "a",
    "b",
};

std::string quoted(const std::string& s) {
    if (s.size() == long_length && s.find_first_not_of('x') == std::string::npos)
        return "string.rep(\"x\", " + std::to_string(long_length) + ")";
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 32 || c >= 127) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\%03u", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string number_text(double n) {
    if (std::isnan(n))
        return "0/0";
    if (std::isinf(n))
        return n > 0 ? "1/0" : "-1/0";
    if (n == 0 && std::signbit(n))
        return "-0.0";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", n);
    return buf;
}

std::string value_text(const ScriptFuzzer::Value& v) {
    switch (v.kind) {
        case ScriptFuzzer::Value::number:
            return number_text(v.n);
        case ScriptFuzzer::Value::boolean:
            return v.b ? "true" : "false";
        case ScriptFuzzer::Value::string:
            return quoted(v.s);
        case ScriptFuzzer::Value::table:
            return "{}";
        case ScriptFuzzer::Value::instance:
            return "LuaFunctions()";
        case ScriptFuzzer::Value::nil:
            break;
    }
    return "nil";
}

void push(lua_State* L, const ScriptFuzzer::Value& v) {
    switch (v.kind) {
        case ScriptFuzzer::Value::number:
            lua_pushnumber(L, v.n);
            return;
        case ScriptFuzzer::Value::boolean:
            lua_pushboolean(L, v.b);
            return;
        case ScriptFuzzer::Value::string:
            lua_pushlstring(L, v.s.data(), v.s.size());
            return;
        case ScriptFuzzer::Value::table:
            lua_newtable(L);
            return;
        case ScriptFuzzer::Value::instance:
            lua_getglobal(L, "LuaFunctions");
            if (ScriptHost::pcall(L, 0, 1) != 0) {
                lua_pop(L, 1);
                lua_pushnil(L);
            }
            return;
        case ScriptFuzzer::Value::nil:
            break;
    }
    lua_pushnil(L);
}

// Saves the binding's tables and defines __fuzz_repair(), which restores them, the metatables of
// the other kinds of value and the global class, whatever tricks did to them.
const char* const repair_code = R"(
local inst = getmetatable(lf)
local const = inst.__const
local class = LuaFunctions
local function copy(t)
    local c = {}
    for k, v in pairs(t) do c[k] = v end
    return c
end
local saved = {inst, copy(inst), const, copy(const), class, copy(class)}
local string_mt = getmetatable("")
local file_mt = getmetatable(io.stdout)
function __fuzz_repair()
    for i = 1, #saved, 2 do
        local t, c = saved[i], saved[i + 1]
        for k in pairs(t) do
            if c[k] == nil then rawset(t, k, nil) end
        end
        for k, v in pairs(c) do rawset(t, k, v) end
        -- The property tables are empty in the class; tricks may have filled them.
        if rawget(t, "__propget") then rawset(t, "__propget", {}) end
        if rawget(t, "__propset") then rawset(t, "__propset", {}) end
    end
    debug.setmetatable(class, class)
    debug.setmetatable(lf, inst)
    rawset(_G, "LuaFunctions", class)
    debug.setmetatable(0, nil)
    debug.setmetatable(nil, nil)
    debug.setmetatable(true, nil)
    debug.setmetatable(print, nil)
    debug.setmetatable("", string_mt)
    debug.setmetatable(io.stdout, file_mt)
end
)";

}  // namespace

bool ScriptFuzzer::install(lua_State* L) {
    if (luaL_loadstring(L, repair_code) != 0 || ScriptHost::pcall(L, 0, 0) != 0) {
        lua_pop(L, 1);
        return false;
    }
    return true;
}

ScriptFuzzer::ScriptFuzzer(uint64_t seed) : rng_(seed) {
    for (const char* name : seed_names)
        pool_.push_back(name);
    fixed_names_ = pool_.size();
}

void ScriptFuzzer::add_name(const std::string& name) {
    pool_.insert(pool_.begin() + static_cast<std::ptrdiff_t>(fixed_names_), name);
    ++fixed_names_;
}

template <class Small, class Usual>
ScriptFuzzer::Value ScriptFuzzer::mixed_number(std::span<const double> awkward, Small small,
                                               Usual usual) {
    Value v;
    v.kind = Value::number;
    switch (below(4)) {
        case 0:
            v.n = awkward[below(awkward.size())];
            break;
        case 1:
            v.n = small();
            break;
        default:
            v.n = usual();
            break;
    }
    return v;
}

ScriptFuzzer::Value ScriptFuzzer::number_arg() {
    static const double awkward[] = {
        0.0,
        -0.0,
        1.0,
        -1.0,
        0.5,
        1e-30,
        -1e-30,
        1e30,
        -1e30,
        1e300,
        -1e300,
        inf,
        -inf,
        std::numeric_limits<double>::quiet_NaN(),
        std::numeric_limits<float>::max(),
        -std::numeric_limits<float>::max(),
        std::numeric_limits<double>::denorm_min(),
        2147483647.0,
        -2147483648.0,
        4294967296.0,
    };
    return mixed_number(
        awkward, [&] { return static_cast<double>(below(11)); },  // indices, kinds, small sizes
        [&] { return (static_cast<double>(below(2000001)) - 1000000.0) / 1000.0; });
}

ScriptFuzzer::Value ScriptFuzzer::integer_arg() {
    static const double awkward[] = {
        0,
        -1,
        2147483647.0,
        -2147483648.0,
        2147483648.0,
        -2147483649.0,
        4294967296.0,
        1e300,
        -1e300,
        inf,
        -inf,
        std::numeric_limits<double>::quiet_NaN(),
        0.5,
        -0.5,
        65535,
        65536,
        255,
        256,
    };
    return mixed_number(
        awkward,
        [&] { return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(rng_()))); },
        [&] { return static_cast<double>(below(12)) - 1.0; });  // -1 to 10: ids, layers, kinds
}

ScriptFuzzer::Value ScriptFuzzer::string_arg() {
    static const char* const odd[] = {
        "",
        " ",
        "..",
        "/",
        "Data",
        "Data/Scripts/",
        "../../etc/passwd",
        "%s%n%d",
        "na\xc3\xafve \xe2\x98\x83",
        "\xff\xfe",
        "line\nbreak",
        "tab\tname",
        "nul\0inside",
    };
    Value v;
    v.kind = Value::string;
    const uint64_t pick = below(20);
    if (pick < 6 && !recent_.empty()) {
        v.s = recent_[below(recent_.size())];
        return v;
    }
    if (pick < 15) {
        v.s = pool_[below(pool_.size())];
    } else if (pick < 17) {
        v.s = "n" + std::to_string(names_made_++);
        if (pool_.size() < fixed_names_ + new_names)
            pool_.push_back(v.s);
        else
            pool_[fixed_names_ + below(new_names)] = v.s;
    } else if (pick < 19) {
        const size_t i = below(std::size(odd));
        v.s = (odd[i] == std::string("nul\0inside")) ? std::string("nul\0inside", 10) : odd[i];
    } else {
        v.s.assign(long_length, 'x');
    }
    if (v.s.size() < 256) {
        if (recent_.size() < recent_limit)
            recent_.push_back(v.s);
        else
            recent_[recent_next_++ % recent_limit] = v.s;
    }
    return v;
}

ScriptFuzzer::Value ScriptFuzzer::wrong_kind() {
    Value v;
    switch (below(5)) {
        case 0:
            v.kind = Value::nil;
            break;
        case 1:
            v.kind = Value::table;
            break;
        case 2:
            v = number_arg();
            break;
        case 3:
            v = string_arg();
            break;
        default:
            v.kind = Value::boolean;
            v.b = chance(2);
            break;
    }
    return v;
}

ScriptFuzzer::Value ScriptFuzzer::arg_of_kind(char kind) {
    if (chance(40))
        return wrong_kind();
    switch (kind) {
        case 'n':
            return number_arg();
        case 'i':
            return integer_arg();
        case 's':
            return string_arg();
        case 'b': {
            Value v;
            v.kind = Value::boolean;
            v.b = chance(2);
            return v;
        }
        default:
            return wrong_kind();  // a kind this fuzzer does not know yet: anything goes
    }
}

std::string ScriptFuzzer::arguments_for(size_t function) {
    std::string text;
    for (char k : function_table()[function].args) {
        if (!text.empty())
            text += ", ";
        text += value_text(arg_of_kind(k));
    }
    return text;
}

// A value of another kind than an instance, for self and for the debug library.
std::string ScriptFuzzer::foreign_value() {
    static const char* const values[] = {
        "io.stdout",
        "newproxy(true)",
        "newproxy(false)",
        "coroutine.create(print)",
        "\"text\"",
        "5",
        "0/0",
        "true",
        "nil",
        "print",
        "{}",
        "getmetatable(lf)",
        "LuaFunctions",
        "setmetatable({}, getmetatable(lf))",
    };
    return values[below(std::size(values))];
}

std::string ScriptFuzzer::trick() {
    static const char* const targets[] = {
        "lf", "LuaFunctions", "getmetatable(lf)", "getmetatable(lf).__const", "LuaFunctions()",
    };
    static const char* const keys[] = {
        "\"__parent\"",    "\"__index\"", "\"__newindex\"",
        "\"__gc\"",        "\"__call\"",  "\"__propget\"",
        "\"__propset\"",   "\"__const\"", "\"__type\"",
        "\"__metatable\"", "1",           "true",
    };
    static const char* const values[] = {
        "nil",
        "{}",
        "getmetatable(lf)",
        "getmetatable(lf).__const",
        "LuaFunctions",
        "lf",
        "function() error(\"trick\") end",
        "function(...) fuzz_inner() return ... end",
        "{__parent = getmetatable(lf)}",
        "{x = function() fuzz_inner() end}",
        "0/0",
        "\"text\"",
        "io.stdout",
        "newproxy(true)",
        "getmetatable(lf).__index",
        "getmetatable(lf).__gc",
        "getmetatable(lf).get_game_state",
    };
    const auto& table = function_table();
    const size_t method = below(table.size());
    const std::string name = table[method].name;
    auto key = [&]() -> std::string {
        switch (below(3)) {
            case 0:
                return "\"" + name + "\"";
            case 1:
                return quoted(pool_[below(pool_.size())]);
            default:
                return keys[below(std::size(keys))];
        }
    };
    const std::string target = targets[below(std::size(targets))];
    const std::string value = values[below(std::size(values))];
    switch (below(10)) {
        case 0:
            return "local _ = " + target + "[" + key() + "]";
        case 1:
            return target + "[" + key() + "] = " + value;
        case 2:
            return "rawset(" + target + ", " + key() + ", " + value + ")";
        case 3: {
            // A "__parent" chain of some length, ending in the class, a loop, or nothing.
            static const char* const lengths[] = {"1", "2", "255", "256", "300", "3000"};
            static const char* const ends[] = {"getmetatable(lf)", "m0", "nil", "{}"};
            const bool on_class = chance(2);
            std::string code = on_class ? "local m0 = getmetatable(lf)" : "local m0 = {}";
            code += "\nlocal m = m0\nfor i = 1, " +
                    std::string(lengths[below(std::size(lengths))]) +
                    " do local n = {}\nrawset(m, \"__parent\", n)\nm = n end\n"
                    "rawset(m, \"__parent\", " +
                    ends[below(std::size(ends))] + ")";
            if (!on_class)
                code +=
                    "\nlocal p = newproxy(true)\ndebug.setmetatable(p, m0)\n"
                    "getmetatable(lf)." +
                    name + "(p" + (table[method].args.empty() ? "" : ", " + arguments_for(method)) +
                    ")";
            else
                code += "\nlocal _ = lf." + name + "\nlocal _ = lf.nothing\nlf.nothing = 1";
            return code;
        }
        case 4: {
            // A method called on a value that is not an instance.
            const std::string args = arguments_for(method);
            return "getmetatable(lf)." + name + "(" + foreign_value() +
                   (args.empty() ? "" : ", " + args) + ")";
        }
        case 5: {
            // The class metatable (or another) on other kinds of value, then used.
            static const char* const holders[] = {
                "0", "nil", "true", "print", "\"\"", "io.stdout", "newproxy(false)", "lf"};
            static const char* const metatables[] = {"getmetatable(lf)", "getmetatable(lf).__const",
                                                     "LuaFunctions", "{}", "nil"};
            const std::string holder = holders[below(std::size(holders))];
            const std::string args = arguments_for(method);
            return "local v = " + holder + "\ndebug.setmetatable(v, " +
                   metatables[below(std::size(metatables))] + ")\nv." + name + "(v" +
                   (args.empty() ? "" : ", " + args) + ")";
        }
        case 6: {
            // The collector called by hand on an instance, a new one or something else.
            static const char* const victims[] = {
                "lf", "LuaFunctions()", "io.stdout", "newproxy(true)", "{}", ""};
            return "getmetatable(lf).__gc(" + std::string(victims[below(std::size(victims))]) + ")";
        }
        case 7: {
            // A coroutine that calls the engine, yields, and is abandoned or resumed once more.
            const std::string args = arguments_for(method);
            std::string code = "local co = coroutine.create(function()\nlf:" + name + "(" + args +
                               ")\ncoroutine.yield()\nfuzz_inner()\nerror(\"abandoned\")\nend)\n"
                               "coroutine.resume(co)";
            if (chance(2))
                code += "\ncoroutine.resume(co)";
            return code;
        }
        case 8:
            return "coroutine.wrap(function() fuzz_inner()\nlf:" + name + "(" +
                   arguments_for(method) + ") end)()";
        default:
            // An error thrown from inside a nested script, after a few calls.
            return "lf:do_file(\"Data/Scripts/fuzz_error.lua\")";
    }
}

ScriptFuzzer::Call ScriptFuzzer::next(int depth) {
    const auto& table = function_table();
    Call call;
    call.depth = depth;
    // Tricks stay in force for a while, so engine calls meet them; then the binding is put
    // back.
    if (calls_since_trick_ >= 0 && (calls_since_trick_ > 40 || chance(8))) {
        calls_since_trick_ = -1;
        call.function = lua_code;
        call.code = "__fuzz_repair()";
        return call;
    }
    if (calls_since_trick_ >= 0)
        ++calls_since_trick_;
    if (chance(25)) {
        call.function = lua_code;
        call.code = trick();
        calls_since_trick_ = 0;
        return call;
    }
    call.function = below(table.size());
    call.self.kind = Value::instance;
    if (chance(100))
        call.self = wrong_kind();
    const std::string& kinds = table[call.function].args;
    for (char k : kinds)
        call.args.push_back(arg_of_kind(k));
    if (!call.args.empty() && chance(30))
        call.args.resize(below(call.args.size()));
    else if (chance(60))
        call.args.push_back(wrong_kind());
    return call;
}

bool ScriptFuzzer::perform(lua_State* L, const Call& call) {
    const int top = lua_gettop(L);
    if (call.function == lua_code) {
        if (luaL_loadbuffer(L, call.code.data(), call.code.size(), "=trick") == 0 &&
            ScriptHost::pcall(L, 0, 0) == 0)
            ++accepted;
        lua_settop(L, top);
        return true;
    }
    const MethodEntry& entry = function_table()[call.function];
    lua_getglobal(L, "lf");
    if (lua_isnil(L, -1)) {
        lua_pop(L, 1);
        lua_getglobal(L, "LuaFunctions");
        if (ScriptHost::pcall(L, 0, 1) != 0) {
            lua_settop(L, top);
            return true;
        }
        lua_pushvalue(L, -1);
        lua_setglobal(L, "lf");
    }
    // The method straight from the class metatable: tricks may have made lookups through the
    // instance raise, and only protected code may raise.
    luaL_getmetatable(L, "LuaFunctions");
    lua_pushstring(L, entry.name);
    lua_rawget(L, -2);
    lua_remove(L, -2);
    if (call.self.kind == Value::instance)
        lua_pushvalue(L, -2);
    else
        push(L, call.self);
    for (const Value& v : call.args)
        push(L, v);
    // While a trick is in force the name may stand for any function, so only its errors count.
    // Taken before the call: a tricked function may run nested calls that put the binding back.
    const bool registered = calls_since_trick_ < 0;
    const int status = ScriptHost::pcall(L, static_cast<int>(call.args.size()) + 1, LUA_MULTRET);
    const int results = lua_gettop(L) - top - 1;
    bool ok = true;
    if (status == 0) {
        ++accepted;
        if (registered && results != static_cast<int>(entry.result.size())) {
            fault = std::string(entry.name) + " returned " + std::to_string(results) +
                    " values, registered with " + std::to_string(entry.result.size());
            ok = false;
        } else if (registered && results == 1 && entry.result == "n" &&
                   !std::isfinite(lua_tonumber(L, -1))) {
            fault = std::string(entry.name) + " returned " + number_text(lua_tonumber(L, -1));
            ok = false;
        }
    } else if (results != 1) {
        fault = std::string(entry.name) + " failed leaving " + std::to_string(results) +
                " values on the stack";
        ok = false;
    }
    lua_settop(L, top);
    return ok;
}

std::string ScriptFuzzer::describe(const Call& call) {
    if (call.function == rerun_init)
        return "lf:do_file(\"Data/Scripts/INIT_test.lua\") -- the game's start-up script again";
    std::string text(static_cast<size_t>(call.depth) * 2, ' ');
    if (call.function == lua_code) {
        text += "do ";
        for (char c : call.code)
            text += c == '\n' ? std::string(" ") : std::string(1, c);
        return text + " end";
    }
    text += "lf";
    const char* name = function_table()[call.function].name;
    std::string args;
    if (call.self.kind == Value::instance) {
        text += ":" + std::string(name) + "(";
    } else {
        text += "." + std::string(name) + "(";
        args = value_text(call.self);
    }
    for (const Value& v : call.args) {
        if (!args.empty())
            args += ", ";
        args += value_text(v);
    }
    return text + args + ")";
}
