#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Core/Tracked.h"
#include "Mechanisms/Trigger.h"
#include "Mechanisms/TriggerBroadPhase.h"

class AreaTrigger;
class GateTrigger;
class Renderer;
class TimedTrigger;

// Every live trigger, in the order it arrived. The manager owns the uploaded triggers; triggers
// carried by creatures, hammers and bullets stay their owners', who take them out again.
//
// Scripts run from update and use_triggers may add triggers, remove them (the one firing
// included) or replace the level. The walks go by index over a list that only grows while they
// run; removed entries stay as empty slots until the outermost walk ends, and a removed trigger
// is destroyed only after every walk has finished with it.
class TriggerManager {
  public:
    TriggerManager() = default;
    // Destroys the triggers it owns, in list order.
    ~TriggerManager();
    TriggerManager(const TriggerManager&) = delete;
    TriggerManager& operator=(const TriggerManager&) = delete;

    // Timed triggers advance and fire; every gate tests every other gate it may use. Triggers
    // added during the walk are reached in the same walk.
    void update(float dt);
    // Fires every use trigger that may use user and overlaps it, in list order (the player's
    // use action). Nothing for a null user.
    void use_triggers(AreaTrigger* user);
    void draw(Renderer& renderer) const;

    // Appends a trigger the manager then owns; returns it.
    Trigger* add(std::unique_ptr<Trigger> trigger);
    // Appends a trigger owned by someone else (a creature, a hammer, a bullet). Its owner
    // removes it before destroying it; should it not, the entry simply empties.
    void add_carried(Trigger* trigger);
    // Takes every entry of the trigger out of the list. A trigger the manager owns is
    // destroyed (after the walks, when one is running); a carried one is left to its owner.
    void remove(const Trigger* trigger);
    // Destroys every gate and use trigger the manager owns and drops the carried ones; timed
    // triggers stay. A new level does this.
    void remove_area_triggers();
    // Destroys every trigger the manager owns with that id except keep (after the walks, when
    // one is running); carried triggers stay with their owners. Returns how many were removed.
    int32_t remove_owned_with_id(int32_t id, const Trigger* keep);

    // On (the default), a gate tests only the usable gates its box meets or it is inside of,
    // once enough gates could be used for that to pay; the scripts that run, their order and
    // their parameters are those of testing every pair. Off, every pair is tested.
    void set_broad_phase(bool on) { broad_phase_ = on; }
    bool broad_phase() const { return broad_phase_; }
    // How many pairs of gates were tested since the manager was made.
    uint64_t pair_tests() const { return pair_tests_; }

    // Live triggers, in list order.
    size_t count() const;
    std::vector<Trigger*> triggers() const;
    bool contains(const Trigger* trigger) const;

  private:
    struct Entry {
        std::unique_ptr<Trigger> owned;
        Ref<Trigger> carried;
        Trigger* get() const { return owned ? owned.get() : carried.get(); }
    };
    void update_timed(size_t index, TimedTrigger& trigger, float dt);
    void update_gate(size_t index, GateTrigger& gate);
    // Fires a trigger's script during a walk; a script that runs may change anything.
    void fire(const std::string& script, int32_t id, const char* origin);
    // The indices of the usable gates that self tests, from the index from on, ascending: all
    // of them, or those the broad phase finds.
    const std::vector<size_t>& pairs_for(const GateTrigger& self, size_t from, size_t& first);
    // The gates another gate could use: those whose can-use-me list is not empty.
    void refresh_usable();
    bool usable_stale() const;
    // Empties the slot; its owned trigger is released now and destroyed when no walk runs.
    void drop(Entry& entry);
    void compact();
    bool live_at(size_t index, const Trigger* trigger) const {
        return index < entries_.size() && entries_[index].get() == trigger;
    }

    std::vector<Entry> entries_;
    int walking_ = 0;
    // Entries that only grow bump the version too: a walk reaches what is appended.
    uint64_t version_ = 0;
    // Indices of usable gates in entries_, in list order, for the version and the group
    // changes they were worked out at.
    std::vector<size_t> usable_;
    uint64_t usable_version_ = ~uint64_t{0};
    uint64_t usable_groups_ = ~uint64_t{0};

    bool broad_phase_ = true;
    TriggerBroadPhase broad_;
    // Whether the broad phase's boxes may be out of date: at the start of every update, and
    // whenever a script ran or the usable gates changed since they were made.
    bool boxes_stale_ = true;
    uint64_t boxes_version_ = ~uint64_t{0};
    uint64_t boxes_groups_ = ~uint64_t{0};
    std::vector<size_t> candidates_;
    uint64_t pair_tests_ = 0;
};

// Takes a trigger that a creature, hammer or bullet carried out of the game's trigger manager
// and destroys it once no walk can still be visiting it: its own script may be running.
void dispose_carried_trigger(std::unique_ptr<AreaTrigger> trigger);
