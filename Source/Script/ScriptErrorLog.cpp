#include "Script/ScriptErrorLog.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Platform/Clock.h"

namespace {
bool on = false;
bool requested = false;
std::function<void(const std::string&)> listener;
// Past this many remembered messages the ones older than the interval are forgotten, so
// scripts failing with ever-new messages cannot grow the table without bound.
constexpr size_t prune_above = 256;
}  // namespace

void ScriptErrorLog::configure() {
    const char* value = std::getenv("VELDEN_SCRIPT_ERRORS");
    on = requested || (value && std::strcmp(value, "1") == 0);
    recent().clear();
}

void ScriptErrorLog::request() {
    requested = true;
    on = true;
}

void ScriptErrorLog::set_listener(std::function<void(const std::string&)> function) {
    listener = std::move(function);
}

bool ScriptErrorLog::enabled() {
    return on;
}

std::map<std::string, uint32_t>& ScriptErrorLog::recent() {
    static std::map<std::string, uint32_t> table;
    return table;
}

void ScriptErrorLog::report(const std::string& message) {
    if (!on)
        return;
    const uint32_t now = Clock::current().milliseconds();
    auto& table = recent();
    auto it = table.find(message);
    if (it != table.end() && now - it->second < repeat_interval_ms)
        return;
    if (it == table.end() && table.size() >= prune_above) {
        std::erase_if(
            table, [now](const auto& entry) { return now - entry.second >= repeat_interval_ms; });
        // Everything is recent: the flood guard wins over completeness.
        if (table.size() >= prune_above)
            return;
    }
    table[message] = now;
    std::fprintf(stderr, "script error: %s\n", message.c_str());
    std::fflush(stderr);
    if (listener)
        listener(message);
}
