#pragma once

#include "Physics/Bounds.h"
#include "Physics/Manifold.h"
#include "Physics/Shape.h"
#include "Render/Transform.h"

class PolygonShape;

// True when the two placed shapes overlap; shapes that only touch do not.
bool overlaps(const Shape& a, const Transform& xa, const Shape& b, const Transform& xb);
// What overlap_bounds can promise about a placed shape.
enum class Reach {
    nothing,   // overlaps no shape at all (an empty polygon)
    bounded,   // overlaps only shapes that reach into the box
    anything,  // no box can be promised: a polygon that is not convex and counter-clockwise with
               // its edges' normals, a turned or skewed frame, numbers that are not finite
};
// A box that every shape this placed shape overlaps reaches into, a little larger than the shape
// so that the rounding of the overlap test never falls outside it.
Reach overlap_bounds(const Shape& shape, const Transform& transform, Bounds& box);

// Contact normal (from a towards b), up to two contact points and their depths.
Manifold collide(const Shape& a, const Transform& xa, const Shape& b, const Transform& xb);

// A circle's radius, or a polygon's largest vertex distance from its own origin; neither the
// circle's centre offset nor any scale is included.
float bounding_radius(const Shape& shape);
// The radius around the shape's own origin that holds the whole shape (a circle's centre offset
// included), before any scale.
float enclosing_radius(const Shape& shape);

Vector2 closest_point_on_segment(Vector2 p, Vector2 a, Vector2 b);
// The transform carrying points of x2's local frame into x1's local frame.
Transform relative_transform(const Transform& x1, const Transform& x2);
// The vertex with the smallest dot product with d; the lowest index wins a tie.
int32_t support_index(const PolygonShape& polygon, Vector2 d);
