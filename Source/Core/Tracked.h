#pragma once

#include <memory>

// Base of objects that others refer to without owning them. A Ref to a tracked object becomes
// empty when the object is destroyed, so a holder never follows a dangling pointer.
class Tracked {
  public:
    Tracked() = default;
    // A copy is a new object: references to the original do not follow it.
    Tracked(const Tracked&) {}
    Tracked& operator=(const Tracked&) { return *this; }
    ~Tracked() { untrack(); }

  protected:
    // Empties every reference now; a destructor may call it before tearing the object down.
    void untrack() {
        if (cell_)
            cell_->target = nullptr;
        cell_.reset();
    }

  private:
    template <class>
    friend class Ref;
    struct Cell {
        Tracked* target;
    };
    std::shared_ptr<Cell> cell() const {
        if (!cell_)
            cell_ = std::make_shared<Cell>(Cell{const_cast<Tracked*>(this)});
        return cell_;
    }
    mutable std::shared_ptr<Cell> cell_;
};

// A checked, non-owning reference to a tracked object.
template <class T>
class Ref {
  public:
    Ref() = default;
    Ref(T* object) : cell_(object ? static_cast<const Tracked*>(object)->cell() : nullptr) {}

    T* get() const { return cell_ && cell_->target ? static_cast<T*>(cell_->target) : nullptr; }
    T* operator->() const { return get(); }
    explicit operator bool() const { return get() != nullptr; }
    void reset() { cell_.reset(); }

  private:
    std::shared_ptr<Tracked::Cell> cell_;
};
