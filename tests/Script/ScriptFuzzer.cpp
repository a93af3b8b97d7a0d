#include "Script/ScriptFuzzer.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include <lua.hpp>

#include "Script/FunctionTable.h"

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr size_t new_names = 16;  // pool places for names the run makes up
constexpr size_t recent_limit = 8;
constexpr size_t long_length = 10000;

// Files and names the fuzzed game folder holds, so calls reach loading and nested scripts.
const char* const seed_names[] = {
    "Data/Images/fuzz.png",
    "Data/Scripts/fuzz_inner.lua",
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
            if (lua_pcall(L, 0, 1, 0) != 0) {
                lua_pop(L, 1);
                lua_pushnil(L);
            }
            return;
        case ScriptFuzzer::Value::nil:
            break;
    }
    lua_pushnil(L);
}

}  // namespace

ScriptFuzzer::ScriptFuzzer(uint64_t seed) : rng_(seed) {
    for (const char* name : seed_names)
        pool_.push_back(name);
    fixed_names_ = pool_.size();
}

void ScriptFuzzer::add_name(const std::string& name) {
    pool_.insert(pool_.begin() + static_cast<std::ptrdiff_t>(fixed_names_), name);
    ++fixed_names_;
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
    Value v;
    v.kind = Value::number;
    switch (below(4)) {
        case 0:
            v.n = awkward[below(std::size(awkward))];
            break;
        case 1:
            v.n = static_cast<double>(below(11));  // indices, kinds, small sizes
            break;
        default:
            v.n = (static_cast<double>(below(2000001)) - 1000000.0) / 1000.0;
            break;
    }
    return v;
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
    Value v;
    v.kind = Value::number;
    switch (below(4)) {
        case 0:
            v.n = awkward[below(std::size(awkward))];
            break;
        case 1:
            v.n = static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(rng_())));
            break;
        default:
            v.n = static_cast<double>(below(12)) - 1.0;  // -1 to 10: ids, layers, kinds
            break;
    }
    return v;
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

ScriptFuzzer::Call ScriptFuzzer::next(int depth) {
    const auto& table = function_table();
    Call call;
    call.depth = depth;
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
    const MethodEntry& entry = function_table()[call.function];
    const int top = lua_gettop(L);
    lua_getglobal(L, "lf");
    if (lua_isnil(L, -1)) {
        lua_pop(L, 1);
        lua_getglobal(L, "LuaFunctions");
        lua_call(L, 0, 1);
        lua_pushvalue(L, -1);
        lua_setglobal(L, "lf");
    }
    lua_getfield(L, -1, entry.name);
    if (call.self.kind == Value::instance)
        lua_pushvalue(L, -2);
    else
        push(L, call.self);
    for (const Value& v : call.args)
        push(L, v);
    const int status = lua_pcall(L, static_cast<int>(call.args.size()) + 1, LUA_MULTRET, 0);
    const int results = lua_gettop(L) - top - 1;
    bool ok = true;
    if (status == 0) {
        ++accepted;
        if (results != static_cast<int>(entry.result.size())) {
            fault = std::string(entry.name) + " returned " + std::to_string(results) +
                    " values, registered with " + std::to_string(entry.result.size());
            ok = false;
        } else if (results == 1 && entry.result == "n" && !std::isfinite(lua_tonumber(L, -1))) {
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
