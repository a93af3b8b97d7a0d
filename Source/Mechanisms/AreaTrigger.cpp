#include "Mechanisms/AreaTrigger.h"

#include <algorithm>

#include "Physics/CircleShape.h"
#include "Physics/Collision.h"
#include "Physics/PolygonShape.h"
#include "Render/Renderer.h"

AreaTrigger::~AreaTrigger() = default;

AreaTrigger::AreaTrigger(const AreaTrigger& other)
    : Trigger(other),
      transform(other.transform),
      shape(other.shape ? other.shape->clone() : nullptr),
      colour(other.colour),
      belong_to(other.belong_to),
      can_use_me(other.can_use_me) {}

void AreaTrigger::draw(Renderer& renderer) const {
    if (!shape)
        return;
    if (shape->type() == Shape::circle_type) {
        const auto& circle = static_cast<const CircleShape&>(*shape);
        renderer.draw_circle(transform, circle.center, circle.radius, colour);
    } else if (shape->type() == Shape::polygon_type) {
        const auto& polygon = static_cast<const PolygonShape&>(*shape);
        renderer.draw_polygon(transform, polygon.vertices(), polygon.count(), colour);
    }
}

bool AreaTrigger::overlaps(const AreaTrigger& other) const {
    return shape && other.shape && ::overlaps(*shape, transform, *other.shape, other.transform);
}

bool AreaTrigger::is_inside(const Trigger& other) const {
    for (const Ref<Trigger>& r : inside_)
        if (r.get() == &other)
            return true;
    return false;
}

void AreaTrigger::enter(Trigger& other) {
    // Entries of triggers destroyed meanwhile are dropped here, so the list stays short.
    std::erase_if(inside_, [](const Ref<Trigger>& r) { return !r; });
    inside_.emplace_back(&other);
}

void AreaTrigger::leave(const Trigger& other) {
    std::erase_if(inside_, [&](const Ref<Trigger>& r) { return !r || r.get() == &other; });
}

size_t AreaTrigger::inside_count() const {
    return static_cast<size_t>(
        std::count_if(inside_.begin(), inside_.end(), [](const Ref<Trigger>& r) { return !!r; }));
}
