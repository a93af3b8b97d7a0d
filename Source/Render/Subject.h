#pragma once

#include <algorithm>
#include <vector>

// An observable: listeners in attach order, not owned, no duplicates.
template <class Listener>
class Subject {
  public:
    virtual ~Subject() = default;

    virtual void attach(Listener* listener) {
        if (!listener ||
            std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end())
            return;
        listeners_.push_back(listener);
    }
    virtual void detach(Listener* listener) {
        auto it = std::find(listeners_.begin(), listeners_.end(), listener);
        if (listener && it != listeners_.end())
            listeners_.erase(it);
    }
    const std::vector<Listener*>& listeners() const { return listeners_; }

  protected:
    std::vector<Listener*> listeners_;
};
