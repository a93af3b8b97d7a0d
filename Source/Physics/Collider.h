#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "Physics/Shape.h"
#include "Render/Color.h"
#include "Render/Transform.h"

// A static collision body of the level; it pushes the player out of itself.
struct Collider {
    int32_t id = 0;
    float bounding_radius = 0.0f;
    Transform transform;
    std::unique_ptr<Shape> shape;  // may be null: such a collider is inert
    Color color;

    // Same id, bounding radius, transform and colour, and a clone of the shape.
    std::unique_ptr<Collider> copy() const;
};

// The level's colliders in the order they were added.
using ColliderList = std::vector<std::unique_ptr<Collider>>;

// A collider at (x, y), blue at half alpha, with its own clone of the shape (none when shape is
// null), so later edits of the script's shape do not reach it.
std::unique_ptr<Collider> make_collider(int32_t id, const Shape* shape, float x, float y);
// The first collider with the id, or null.
Collider* find_collider(const ColliderList& colliders, int32_t id);
// Destroys the first collider with the id; the rest keep their order.
void remove_collider(ColliderList& colliders, int32_t id);

struct PushOut {
    const Collider* collider = nullptr;  // the collider that pushed, or null
    Vector2 offset;                      // to add to the body's position
};

// The push that frees a shape placed by the transform from the first collider (in list order)
// it is in contact with; at most one collider pushes per call.
PushOut push_out(const Shape& shape, const Transform& transform, const ColliderList& colliders);
