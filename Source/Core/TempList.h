#pragma once

#include <map>
#include <memory>
#include <string>

#include "Core/Tracked.h"
#include "Core/WalkGuard.h"

// Objects under construction, named by the text a script chose. An entry either owns its
// object or, once an owner has taken the object but scripts may still configure it by name, is
// an alias that empties when the owner destroys the object.
template <class T>
class TempList {
  public:
    // The object under that name, or null.
    T* find(const std::string& name) const {
        auto it = entries_.find(name);
        if (it == entries_.end())
            return nullptr;
        return it->second.owned ? it->second.owned.get() : it->second.alias.get();
    }

    // Inserts, or replaces the object of an existing name; the earlier object, which nothing
    // names or owns any more, is destroyed when the frame ends.
    void put(const std::string& name, std::unique_ptr<T> object) {
        Entry& e = entries_[name];
        if (e.owned)
            WalkGuard::retire(std::move(e.owned));
        e.owned = std::move(object);
        e.alias.reset();
    }

    // Takes the object out with its name; null when the name is absent or is only an alias
    // (another owner has the object).
    std::unique_ptr<T> take(const std::string& name) {
        auto it = entries_.find(name);
        if (it == entries_.end() || !it->second.owned)
            return nullptr;
        std::unique_ptr<T> object = std::move(it->second.owned);
        entries_.erase(it);
        return object;
    }

    // Takes the object out for an owner while the name stays as an alias for configuration.
    std::unique_ptr<T> take_keeping_alias(const std::string& name) {
        auto it = entries_.find(name);
        if (it == entries_.end() || !it->second.owned)
            return nullptr;
        std::unique_ptr<T> object = std::move(it->second.owned);
        it->second.alias = Ref<T>(object.get());
        return object;
    }

    // Removes the name; an object it owned is destroyed when the frame ends.
    void forget(const std::string& name) {
        auto it = entries_.find(name);
        if (it == entries_.end())
            return;
        if (it->second.owned)
            WalkGuard::retire(std::move(it->second.owned));
        entries_.erase(it);
    }

    bool contains(const std::string& name) const { return find(name) != nullptr; }
    // Whether the name owns its object (so an owner may still take it).
    bool owns(const std::string& name) const {
        auto it = entries_.find(name);
        return it != entries_.end() && it->second.owned;
    }

  private:
    struct Entry {
        std::unique_ptr<T> owned;
        Ref<T> alias;
    };
    std::map<std::string, Entry> entries_;
};
