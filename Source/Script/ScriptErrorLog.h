#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

// Opt-in report of failed scripts on standard error. Silent unless the environment variable
// VELDEN_SCRIPT_ERRORS is 1 when the interpreter starts (or the program asked for it); then each
// distinct message is written at most once per second (by the engine's clock), so a script
// failing in every frame does not flood the terminal.
class ScriptErrorLog {
  public:
    static constexpr uint32_t repeat_interval_ms = 1000;

    // Reads the environment variable; the interpreter's start calls it.
    static void configure();
    static bool enabled();
    // Turns the report on for every later start of the interpreter, whatever the environment
    // says (velden --dev).
    static void request();
    // Writes "script error: <message>" unless the same message was written less than a second
    // ago.
    static void report(const std::string& message);
    // Also hands every message written to this function (the error strip on screen); an empty
    // function stops it.
    static void set_listener(std::function<void(const std::string&)> listener);

  private:
    // When each recent message was last written.
    static std::map<std::string, uint32_t>& recent();
};
