#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "Physics/Bounds.h"

class AreaTrigger;
class Trigger;

// The gates a gate may have to react to, out of many that could be used: those whose shapes'
// boxes meet its own, and those it is inside of (which it may have to leave). Every other gate
// it may use neither overlaps it nor holds it inside, so testing it would fire nothing.
//
// The boxes are those of the moment the gates were added: whoever moves a gate, or runs a script
// that might, builds again.
class TriggerBroadPhase {
  public:
    // Starts a new set of gates.
    void clear();
    // Adds a gate that may be used, with its index in the manager's list; indices grow.
    void add(size_t index, const AreaTrigger& gate);
    // Sorts what was added; called once after the last add.
    void finish();

    // The indices of the gates that self has to test, from the index from on, ascending and
    // each once, into out.
    void candidates(const AreaTrigger& self, size_t from, std::vector<size_t>& out) const;

    size_t size() const { return indices_.size(); }

  private:
    struct Boxed {
        Bounds box;
        size_t index;
    };
    // Gates with a box, by their left edge, and those lefts alone for the search.
    std::vector<Boxed> boxed_;
    std::vector<float> lefts_;
    // The widest box of boxed_; wider ones go to reach_far_.
    float widest_ = 0.0f;
    // Gates that may overlap anything, or whose boxes are far wider than most.
    std::vector<size_t> reach_far_;
    // Every gate added, by index, and the same by trigger for the inside lists.
    std::vector<size_t> indices_;
    std::vector<std::pair<uintptr_t, size_t>> by_trigger_;
};
