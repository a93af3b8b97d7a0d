#include "Physics/PhysicsDebugDraw.h"

#include "Physics/CircleShape.h"
#include "Physics/PolygonShape.h"
#include "Render/Renderer.h"

void draw_segment_strips(const SegmentStripList& strips, Renderer& renderer) {
    for (const auto& strip : strips)
        for (const Segment& s : strip->segments)
            renderer.draw_line(s.start, s.end, strip->color);
}

void draw_colliders(const ColliderList& colliders, Renderer& renderer) {
    for (const auto& c : colliders) {
        if (!c->shape)
            continue;
        if (auto* circle = dynamic_cast<const CircleShape*>(c->shape.get())) {
            renderer.draw_circle(c->transform, circle->center, circle->radius, c->color);
        } else if (auto* polygon = dynamic_cast<const PolygonShape*>(c->shape.get())) {
            renderer.draw_polygon(c->transform, polygon->vertices(), polygon->count(), c->color);
        }
    }
}
