#include "Mechanisms/GroupList.h"

#include <algorithm>

void GroupList::add(const std::string& group) {
    ++changes_;
    if (group == everyone) {
        names_.clear();
        everyone_ = true;
    } else if (everyone_) {
        names_.clear();
        everyone_ = false;
    }
    names_.push_back(group);
}

bool GroupList::contains(const std::string& group) const {
    return std::find(names_.begin(), names_.end(), group) != names_.end();
}

bool groups_can_use(const GroupList& a_belongs_to, const GroupList& b_can_use_me) {
    // An empty can-use-me list is never used: the common case of two level gates, so it is
    // decided before any name is compared.
    if (b_can_use_me.empty() || a_belongs_to.empty())
        return false;
    if (b_can_use_me.is_everyone() || a_belongs_to.is_everyone())
        return true;
    for (const std::string& group : a_belongs_to.names())
        if (b_can_use_me.contains(group))
            return true;
    return false;
}
