#include "Script/ScriptErrorLog.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Platform/Clock.h"
#include "Script/ScriptHost.h"

namespace {
bool requested = false;
std::function<void(const std::string&)> listener;
// Past this many remembered messages the ones older than the interval are forgotten, so
// scripts failing with ever-new messages cannot grow the table without bound.
constexpr size_t prune_above = 256;
}  // namespace

void ScriptErrorLog::configure() {
    const char* value = std::getenv("VELDEN_SCRIPT_ERRORS");
    level_ = requested ? failed_scripts : 0;
    if (value && std::strcmp(value, "1") == 0)
        level_ = failed_scripts;
    else if (value && std::strcmp(value, "2") == 0)
        level_ = missing_names;
    recent().clear();
}

void ScriptErrorLog::request() {
    requested = true;
    if (level_ < failed_scripts)
        level_ = failed_scripts;
}

void ScriptErrorLog::set_listener(std::function<void(const std::string&)> function) {
    listener = std::move(function);
}

bool ScriptErrorLog::enabled() {
    return level_ >= failed_scripts;
}

std::map<std::string, uint32_t>& ScriptErrorLog::recent() {
    static std::map<std::string, uint32_t> table;
    return table;
}

void ScriptErrorLog::report(const std::string& message) {
    if (!enabled())
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

void ScriptErrorLog::missing(const char* function, const char* what, const std::string& name) {
    if (!reports_missing() || name.empty())
        return;
    // Names are shown as the script wrote them, cut short when they are long.
    constexpr size_t longest = 80;
    std::string shown = name.size() > longest ? name.substr(0, longest) + "..." : name;
    write_missing(function, std::string("no ") + what + " \"" + shown + "\"");
}

void ScriptErrorLog::missing(const char* function, const char* what, int64_t number) {
    if (!reports_missing())
        return;
    write_missing(function, std::string("no ") + what + " " + std::to_string(number));
}

void ScriptErrorLog::missing(const char* function, const char* what) {
    if (!reports_missing())
        return;
    write_missing(function, std::string("no ") + what);
}

void ScriptErrorLog::write_missing(const char* function, const std::string& text) {
    std::string place = ScriptHost::calling_place();
    if (place.empty())
        place = "(no script)";
    report(place + ": " + function + ": " + text);
}
