#pragma once

#include <cstdint>
#include <string>

#include "Core/Tracked.h"

class Renderer;

// Runs a script file with its id when it fires. The manager holds triggers by kind; references
// to a trigger (a gate's inside list, the player's trigger) empty when it is destroyed.
class Trigger : public Tracked {
  public:
    // The tags type() returns. Scripts number the kinds differently (see script_gate and on).
    static constexpr int32_t timed_type = 0;
    static constexpr int32_t gate_type = 1;
    static constexpr int32_t use_type = 2;
    // The kinds as scripts pass them to create_trigger.
    static constexpr int32_t script_gate = 0;
    static constexpr int32_t script_use = 1;
    static constexpr int32_t script_timed = 2;

    virtual ~Trigger();
    virtual int32_t type() const = 0;
    virtual void draw(Renderer& renderer) const = 0;

    // type() without a virtual call, for the manager's pair walk.
    int32_t kind() const { return kind_; }
    // Empties every reference to this trigger now, ahead of its destruction (which may wait
    // for a walk to end): a trigger taken out of the game is gone for everyone at once.
    void release_references() { untrack(); }

    int32_t id = 0;

  protected:
    explicit Trigger(int32_t kind) : kind_(kind) {}
    Trigger(const Trigger&) = default;
    Trigger& operator=(const Trigger&) = delete;

  private:
    int32_t kind_;
};

// Runs the script with the trigger's id as "parameter"; failures are ignored (and reported with
// the origin, "enter script of gate trigger" say, when diagnostics are on).
void fire_trigger_script(const std::string& script, int32_t id, const char* origin);
