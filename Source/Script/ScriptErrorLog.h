#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

// Opt-in report of script problems on standard error, set by the environment variable
// VELDEN_SCRIPT_ERRORS when the interpreter starts: 1 reports failed scripts (as does a program
// that asks for it); 2 also reports every call of a script function that names something that
// does not exist (a texture, a sprite, a layer index, an id, ...), with the calling script's
// file and line. Silent otherwise. Each distinct message is written at most once per second (by
// the engine's clock), so a script failing in every frame does not flood the terminal.
class ScriptErrorLog {
  public:
    static constexpr uint32_t repeat_interval_ms = 1000;
    static constexpr int32_t failed_scripts = 1;
    static constexpr int32_t missing_names = 2;

    // Reads the environment variable; the interpreter's start calls it.
    static void configure();
    static bool enabled();
    // Whether calls naming absent things are reported (level 2).
    static bool reports_missing() { return level_ >= missing_names; }
    // Turns the report on for every later start of the interpreter, whatever the environment
    // says (velden --dev).
    static void request();
    // Writes "script error: <message>" unless the same message was written less than a second
    // ago.
    static void report(const std::string& message);
    // Also hands every message written to this function (the error strip on screen); an empty
    // function stops it.
    static void set_listener(std::function<void(const std::string&)> listener);

    // At level 2, reports that the script function `function`, called from the running script,
    // named a `what` that does not exist: 'no sprite "hero"'. Empty names mean "none" in the
    // script API and are never reported.
    static void missing(const char* function, const char* what, const std::string& name);
    // The same for things named by number: "no layer 9".
    static void missing(const char* function, const char* what, int64_t number);
    // The same for something the call needs that is not there: "no player".
    static void missing(const char* function, const char* what);

  private:
    static void write_missing(const char* function, const std::string& text);
    // When each recent message was last written.
    static std::map<std::string, uint32_t>& recent();
    static inline int32_t level_ = 0;
};
