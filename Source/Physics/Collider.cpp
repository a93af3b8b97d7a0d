#include "Physics/Collider.h"

#include <algorithm>
#include <cmath>

#include "Physics/Collision.h"

std::unique_ptr<Collider> Collider::copy() const {
    auto c = std::make_unique<Collider>();
    c->id = id;
    c->bounding_radius = bounding_radius;
    c->transform = transform;
    c->shape = shape ? shape->clone() : nullptr;
    c->color = color;
    return c;
}

std::unique_ptr<Collider> make_collider(int32_t id, const Shape* shape, float x, float y) {
    auto c = std::make_unique<Collider>();
    c->id = id;
    if (shape != nullptr) {
        c->shape = shape->clone();
        c->bounding_radius = bounding_radius(*shape);
    }
    c->transform.position = {x, y};
    c->color = {0.0f, 0.0f, 1.0f, 0.5f};
    return c;
}

Collider* find_collider(const ColliderList& colliders, int32_t id) {
    for (const auto& c : colliders) {
        if (c->id == id) {
            return c.get();
        }
    }
    return nullptr;
}

void remove_collider(ColliderList& colliders, int32_t id) {
    auto it = std::find_if(colliders.begin(), colliders.end(),
                           [id](const std::unique_ptr<Collider>& c) { return c->id == id; });
    if (it != colliders.end()) {
        colliders.erase(it);
    }
}

PushOut push_out(const Shape& shape, const Transform& transform, const ColliderList& colliders) {
    PushOut result;
    // The quick rejection uses radii that hold the whole placed shape, so a circle drawn away
    // from its origin or a scaled shape is never skipped while it touches.
    float reach = enclosing_radius(shape) * std::fabs(transform.scale);
    for (const auto& c : colliders) {
        if (!c->shape) {
            continue;
        }
        Vector2 d = c->transform.position - transform.position;
        float collider_reach = enclosing_radius(*c->shape) * std::fabs(c->transform.scale);
        float gap = std::sqrt(dot(d, d)) - (collider_reach + reach);
        if (!(gap <= 0.0f) || !overlaps(shape, transform, *c->shape, c->transform)) {
            continue;
        }
        Manifold m = collide(shape, transform, *c->shape, c->transform);
        if (m.count < 1) {
            continue;
        }
        float depth = m.contacts[0].depth;
        for (int32_t i = 1; i < m.count; ++i) {
            depth = std::max(depth, m.contacts[i].depth);
        }
        result.collider = c.get();
        result.offset = -(m.normal * depth);
        return result;
    }
    return result;
}
