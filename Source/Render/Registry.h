#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>

// A process-wide table of named resources of one kind. The first object registered under a name
// stays; later ones under the same name are discarded. Nothing is removed while a game runs: the
// objects live until the process ends or the game restarts, so pointers to them stay valid.
template <class T>
class Registry {
  public:
    static Registry& instance() {
        // Never destroyed, like the objects it holds.
        static Registry* registry = new Registry;
        return *registry;
    }

    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // Takes the object under name; when the name is taken the object is destroyed instead.
    // Returns whether it was registered.
    bool add(const std::string& name, std::unique_ptr<T> object) {
        if (!object)
            return false;
        return objects_.try_emplace(name, std::move(object)).second;
    }

    // The object under name, or null; never creates an entry.
    T* find(const std::string& name) const {
        auto it = objects_.find(name);
        return it == objects_.end() ? nullptr : it->second.get();
    }

    size_t size() const { return objects_.size(); }

    // Destroys every object. Only for a restart of the game, once nothing refers to them.
    void clear() { objects_.clear(); }

  private:
    Registry() = default;

    std::unordered_map<std::string, std::unique_ptr<T>> objects_;
};
