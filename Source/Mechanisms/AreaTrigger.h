#pragma once

#include <memory>
#include <vector>

#include "Mechanisms/GroupList.h"
#include "Mechanisms/Trigger.h"
#include "Physics/Shape.h"
#include "Render/Color.h"
#include "Render/Transform.h"

// A trigger with a place in the world: a gate or a use trigger. Without a shape it overlaps
// nothing.
class AreaTrigger : public Trigger {
  public:
    ~AreaTrigger() override;

    // A copy with the same id, transform, colour, groups and scripts, its own clone of the
    // shape and an empty inside list.
    virtual std::unique_ptr<AreaTrigger> copy() const = 0;
    void draw(Renderer& renderer) const override;

    // Whether this trigger's groups let it use other (other's can-use-me list accepts one of
    // the groups this one belongs to).
    bool can_use(const AreaTrigger& other) const {
        return groups_can_use(belong_to, other.can_use_me);
    }
    // Both have shapes and the placed shapes overlap.
    bool overlaps(const AreaTrigger& other) const;

    // The gates this one is inside of; entries of destroyed triggers read as empty.
    bool is_inside(const Trigger& other) const;
    void enter(Trigger& other);
    void leave(const Trigger& other);
    size_t inside_count() const;
    // Calls f with each live trigger this one is inside of, in the order it entered them.
    template <class F>
    void for_each_inside(F f) const {
        for (const Ref<Trigger>& r : inside_)
            if (Trigger* t = r.get())
                f(*t);
    }

    Transform transform;
    std::unique_ptr<Shape> shape;
    Color colour;
    GroupList belong_to;
    GroupList can_use_me;

  protected:
    AreaTrigger(int32_t kind, Color colour) : Trigger(kind), colour(colour) {}
    AreaTrigger(const AreaTrigger& other);

  private:
    std::vector<Ref<Trigger>> inside_;
};
