#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The group names of one side of a trigger (the groups it belongs to, or the groups that may
// use it). The list is either exactly one "everyone" entry or a list of named groups.
class GroupList {
  public:
    static constexpr const char* everyone = "everyone";

    // "everyone" replaces the whole list; any other name drops "everyone" first. Duplicates are
    // kept.
    void add(const std::string& group);

    bool empty() const { return names_.empty(); }
    bool is_everyone() const { return everyone_; }
    bool contains(const std::string& group) const;
    const std::vector<std::string>& names() const { return names_; }

    // Counts changes to any group list, so that what was worked out from the lists can tell
    // when it is out of date.
    static uint64_t changes() { return changes_; }

  private:
    std::vector<std::string> names_;
    bool everyone_ = false;
    static inline uint64_t changes_ = 0;
};

// True when a group a belongs to is accepted by b's can-use-me list: b's list is "everyone",
// or a belongs to "everyone" and b's list is not empty, or b's list names one of a's groups.
bool groups_can_use(const GroupList& a_belongs_to, const GroupList& b_can_use_me);
