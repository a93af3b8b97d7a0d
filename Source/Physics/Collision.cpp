#include "Physics/Collision.h"

#include <cfloat>
#include <cmath>

#include "Physics/CircleShape.h"
#include "Physics/PolygonShape.h"

// Every "apart" test below is written as "not clearly inside" so that a NaN (a degenerate
// polygon's zero-length edge, a zero scale) counts as separating: such shapes touch nothing.

namespace {

float length(Vector2 v) {
    return std::sqrt(dot(v, v));
}

Vector2 divided(Vector2 v, float s) {
    return {v.x / s, v.y / s};
}

bool is_finite(Vector2 v) {
    return std::isfinite(v.x) && std::isfinite(v.y);
}

// A contact without a finite direction (a degenerate polygon, a zero scale) would move a body to
// nowhere or nowhere at all; report none instead.
Manifold checked(const Manifold& m) {
    bool finite = is_finite(m.normal) && dot(m.normal, m.normal) > 0.0f;
    for (int32_t i = 0; i < m.count; ++i) {
        finite = finite && is_finite(m.contacts[i].point) && std::isfinite(m.contacts[i].depth);
    }
    return finite ? m : Manifold{};
}

// ---- circle against circle

struct CirclePair {
    Vector2 pa, pb, d;
    float ra, rb;
};

CirclePair place_circles(const CircleShape& a, const Transform& xa, const CircleShape& b,
                         const Transform& xb) {
    CirclePair c;
    c.pa = xa.apply(a.center);
    c.pb = xb.apply(b.center);
    c.ra = a.radius * xa.scale;
    c.rb = b.radius * xb.scale;
    c.d = c.pb - c.pa;
    return c;
}

bool circles_overlap(const CircleShape& a, const Transform& xa, const CircleShape& b,
                     const Transform& xb) {
    CirclePair c = place_circles(a, xa, b, xb);
    float sum = c.ra + c.rb;
    return sum * sum > dot(c.d, c.d);
}

Manifold collide_circles(const CircleShape& a, const Transform& xa, const CircleShape& b,
                         const Transform& xb) {
    Manifold m;
    CirclePair c = place_circles(a, xa, b, xb);
    float sum = c.ra + c.rb;
    float distance_squared = dot(c.d, c.d);
    if (!(distance_squared < sum * sum)) {
        return m;
    }
    // Concentric circles have no direction of their own; they are parted along x.
    m.normal =
        distance_squared > 0.0f ? divided(c.d, std::sqrt(distance_squared)) : Vector2{1.0f, 0.0f};
    Vector2 on_a = c.pa + m.normal * c.ra;
    Vector2 on_b = c.pb - m.normal * c.rb;
    m.contacts[0] = {(on_a + on_b) * 0.5f, length(on_a - on_b)};
    m.count = 1;
    return m;
}

// ---- polygon against circle

// The circle in the polygon's frame and the polygon's edge of least penetration.
struct CircleInPolygon {
    Vector2 centre;
    float radius = 0.0f;
    int32_t edge = 0;
};

// False when some edge separates the two.
bool place_circle(const PolygonShape& p, const Transform& xp, const CircleShape& c,
                  const Transform& xc, CircleInPolygon& out) {
    int32_t n = p.count();
    if (n < 1) {
        return false;
    }
    Transform l = relative_transform(xp, xc);
    out.centre = l.apply(c.center);
    out.radius = c.radius * (xc.scale / xp.scale);
    const Vector2* v = p.vertices();
    const Vector2* normals = p.normals();
    float best = FLT_MAX;
    out.edge = 0;
    for (int32_t i = 0; i < n; ++i) {
        float penetration = dot(normals[i], v[i]) - dot(normals[i], out.centre) + out.radius;
        if (!(penetration > 0.0f)) {
            return false;
        }
        if (penetration < best) {
            best = penetration;
            out.edge = i;
        }
    }
    return true;
}

bool polygon_circle_overlap(const PolygonShape& p, const Transform& xp, const CircleShape& c,
                            const Transform& xc) {
    CircleInPolygon k;
    if (!place_circle(p, xp, c, xc, k)) {
        return false;
    }
    Vector2 n = p.normal(k.edge);
    Vector2 v1 = p.vertex(k.edge);
    Vector2 v2 = p.vertex((k.edge + 1) % p.count());
    Vector2 t{-n.y, n.x};
    float h = dot(t, k.centre) - dot(t, v1);
    float e = dot(t, v2) - dot(t, v1);
    float r2 = k.radius * k.radius;
    if (h <= 0.0f) {
        Vector2 d = k.centre - v1;
        return dot(d, d) < r2;
    }
    if (h >= e) {
        Vector2 d = k.centre - v2;
        return dot(d, d) < r2;
    }
    return true;
}

// The normal points from the circle towards the polygon.
Manifold collide_polygon_circle(const PolygonShape& p, const Transform& xp, const CircleShape& c,
                                const Transform& xc) {
    Manifold m;
    CircleInPolygon k;
    if (!place_circle(p, xp, c, xc, k)) {
        return m;
    }
    Vector2 a1 = xp.apply(p.vertex(k.edge));
    Vector2 a2 = xp.apply(p.vertex((k.edge + 1) % p.count()));
    Vector2 normal = xp.rotate(p.normal(k.edge));
    Vector2 centre = xp.apply(k.centre);
    float radius = k.radius * xp.scale;

    Vector2 t{-normal.y, normal.x};
    float h = dot(t, centre) - dot(t, a1);
    float e = dot(t, a2) - dot(t, a1);
    if (0.0f <= h && h <= e) {
        // The centre faces the edge.
        m.normal = -normal;
        Vector2 on_edge = a1 + t * h;
        Vector2 on_circle = centre - normal * radius;
        m.contacts[0] = {(on_edge + on_circle) * 0.5f, length(on_edge - on_circle)};
        m.count = 1;
        return m;
    }
    // Beyond an end of the edge the nearest corner decides.
    Vector2 corner = h < 0.0f ? a1 : a2;
    Vector2 d = corner - centre;
    float distance_squared = dot(d, d);
    if (!(distance_squared < radius * radius)) {
        return m;
    }
    m.normal = divided(d, std::sqrt(distance_squared));
    Vector2 on_circle = centre + m.normal * radius;
    m.contacts[0] = {(on_circle + corner) * 0.5f, length(corner - on_circle)};
    m.count = 1;
    return m;
}

// ---- polygon against polygon; l carries a's frame into b's

// The vertex of b deepest along a's normal i, expressed in a's frame; k gets its index.
Vector2 deepest_of_b(const PolygonShape& a, const PolygonShape& b, const Transform& l, int32_t i,
                     int32_t& k) {
    k = support_index(b, l.rotate(a.normal(i)));
    return l.unrotate(divided(b.vertex(k) - l.position, l.scale));
}

// The vertex of a deepest along b's normal i, expressed in b's frame; k gets its index.
Vector2 deepest_of_a(const PolygonShape& a, const PolygonShape& b, const Transform& l, int32_t i,
                     int32_t& k) {
    k = support_index(a, l.unrotate(b.normal(i)));
    return l.apply(a.vertex(k));
}

bool polygons_overlap(const PolygonShape& a, const Transform& xa, const PolygonShape& b,
                      const Transform& xb) {
    if (a.count() < 1 || b.count() < 1) {
        return false;
    }
    Transform l = relative_transform(xb, xa);
    int32_t k = 0;
    for (int32_t i = 0; i < a.count(); ++i) {
        Vector2 u = deepest_of_b(a, b, l, i, k);
        if (!(dot(a.normal(i), u) < dot(a.normal(i), a.vertex(i)))) {
            return false;
        }
    }
    for (int32_t i = 0; i < b.count(); ++i) {
        Vector2 u = deepest_of_a(a, b, l, i, k);
        if (!(dot(b.normal(i), u) < dot(b.normal(i), b.vertex(i)))) {
            return false;
        }
    }
    return true;
}

Manifold collide_polygons(const PolygonShape& a, const Transform& xa, const PolygonShape& b,
                          const Transform& xb) {
    Manifold m;
    if (a.count() < 1 || b.count() < 1) {
        return m;
    }
    Transform l = relative_transform(xb, xa);
    float best = -FLT_MAX;
    bool reference_is_b = false;
    int32_t edge = 0;
    int32_t support = 0;
    int32_t k = 0;
    // Strictly greater replaces, so ties go to a and to the lower edge index.
    for (int32_t i = 0; i < a.count(); ++i) {
        Vector2 u = deepest_of_b(a, b, l, i, k);
        float separation = (dot(a.normal(i), u) - dot(a.normal(i), a.vertex(i))) * xa.scale;
        if (!(separation < 0.0f)) {
            return m;
        }
        if (separation > best) {
            best = separation;
            edge = i;
            support = k;
        }
    }
    for (int32_t i = 0; i < b.count(); ++i) {
        Vector2 u = deepest_of_a(a, b, l, i, k);
        float separation = (dot(b.normal(i), u) - dot(b.normal(i), b.vertex(i))) * xb.scale;
        if (!(separation < 0.0f)) {
            return m;
        }
        if (separation > best) {
            best = separation;
            reference_is_b = true;
            edge = i;
            support = k;
        }
    }

    const PolygonShape& ref = reference_is_b ? b : a;
    const Transform& xr = reference_is_b ? xb : xa;
    const PolygonShape& inc = reference_is_b ? a : b;
    const Transform& xi = reference_is_b ? xa : xb;

    Vector2 r1 = xr.apply(ref.vertex(edge));
    Vector2 r2 = xr.apply(ref.vertex((edge + 1) % ref.count()));
    Vector2 normal = xr.rotate(ref.normal(edge));

    // Of the two edges meeting at the support vertex, the one facing the reference edge most.
    Vector2 m_local = xi.unrotate(normal);
    int32_t previous = support == 0 ? inc.count() - 1 : support - 1;
    int32_t incident =
        dot(inc.normal(previous), m_local) < dot(inc.normal(support), m_local) ? previous : support;
    Vector2 w1 = xi.apply(inc.vertex(incident));
    Vector2 w2 = xi.apply(inc.vertex((incident + 1) % inc.count()));

    // The incident edge runs against the reference edge, so w1 can only pass beyond r2 and w2
    // only before r1.
    Vector2 t{-normal.y, normal.x};
    float base = dot(t, r1);
    float len = dot(t, r2) - base;
    float o1 = dot(t, w1) - base;
    float o2 = dot(t, w2) - base;
    Vector2 clipped[2] = {w1, w2};
    if (len < o1) {
        clipped[0] = w1 + (w2 - w1) * ((o1 - len) / (o1 - o2));
    }
    if (o2 < 0.0f) {
        clipped[1] = w1 + (w2 - w1) * (o1 / (o1 - o2));
    }

    m.normal = normal;
    float face = dot(normal, r1);
    for (Vector2 p : clipped) {
        if (dot(normal, p) - face < 0.0f) {
            Vector2 q = closest_point_on_segment(p, r1, r2);
            m.contacts[m.count] = {(p + q) * 0.5f, length(p - q)};
            ++m.count;
        }
    }
    if (reference_is_b) {
        m.normal = -m.normal;
    }
    return m;
}

}  // namespace

bool overlaps(const Shape& a, const Transform& xa, const Shape& b, const Transform& xb) {
    int32_t ta = a.type(), tb = b.type();
    if (ta == Shape::circle_type && tb == Shape::circle_type) {
        return circles_overlap(static_cast<const CircleShape&>(a), xa,
                               static_cast<const CircleShape&>(b), xb);
    }
    if (ta == Shape::circle_type && tb == Shape::polygon_type) {
        return polygon_circle_overlap(static_cast<const PolygonShape&>(b), xb,
                                      static_cast<const CircleShape&>(a), xa);
    }
    if (ta == Shape::polygon_type && tb == Shape::circle_type) {
        return polygon_circle_overlap(static_cast<const PolygonShape&>(a), xa,
                                      static_cast<const CircleShape&>(b), xb);
    }
    if (ta == Shape::polygon_type && tb == Shape::polygon_type) {
        return polygons_overlap(static_cast<const PolygonShape&>(a), xa,
                                static_cast<const PolygonShape&>(b), xb);
    }
    return false;
}

Manifold collide(const Shape& a, const Transform& xa, const Shape& b, const Transform& xb) {
    int32_t ta = a.type(), tb = b.type();
    if (ta == Shape::circle_type && tb == Shape::circle_type) {
        return checked(collide_circles(static_cast<const CircleShape&>(a), xa,
                                       static_cast<const CircleShape&>(b), xb));
    }
    if (ta == Shape::circle_type && tb == Shape::polygon_type) {
        return checked(collide_polygon_circle(static_cast<const PolygonShape&>(b), xb,
                                              static_cast<const CircleShape&>(a), xa));
    }
    if (ta == Shape::polygon_type && tb == Shape::circle_type) {
        Manifold m = collide_polygon_circle(static_cast<const PolygonShape&>(a), xa,
                                            static_cast<const CircleShape&>(b), xb);
        if (m.count > 0) {
            m.normal = -m.normal;
        }
        return checked(m);
    }
    if (ta == Shape::polygon_type && tb == Shape::polygon_type) {
        return checked(collide_polygons(static_cast<const PolygonShape&>(a), xa,
                                        static_cast<const PolygonShape&>(b), xb));
    }
    return Manifold{};
}

float bounding_radius(const Shape& shape) {
    if (shape.type() == Shape::circle_type) {
        return static_cast<const CircleShape&>(shape).radius;
    }
    const auto& polygon = static_cast<const PolygonShape&>(shape);
    float largest = 0.0f;
    for (int32_t i = 0; i < polygon.count(); ++i) {
        float distance = length(polygon.vertex(i));
        if (distance > largest) {
            largest = distance;
        }
    }
    return largest;
}

float enclosing_radius(const Shape& shape) {
    if (shape.type() == Shape::circle_type) {
        const auto& circle = static_cast<const CircleShape&>(shape);
        return length(circle.center) + std::fabs(circle.radius);
    }
    return bounding_radius(shape);
}

Vector2 closest_point_on_segment(Vector2 p, Vector2 a, Vector2 b) {
    Vector2 d = b - a;
    float t = dot(p - a, d);
    if (t <= 0.0f) {
        return a;
    }
    float dd = dot(d, d);
    if (t >= dd) {
        return b;
    }
    return a + d * (t / dd);
}

Transform relative_transform(const Transform& x1, const Transform& x2) {
    Transform r;
    r.position = divided(x1.unrotate(x2.position - x1.position), x1.scale);
    r.axis_x = x1.unrotate(x2.axis_x);
    r.axis_y = x1.unrotate(x2.axis_y);
    r.scale = x2.scale / x1.scale;
    return r;
}

int32_t support_index(const PolygonShape& polygon, Vector2 d) {
    int32_t n = polygon.count();
    if (n < 1) {
        return 0;
    }
    const Vector2* v = polygon.vertices();
    int32_t best_index = 0;
    float best = dot(v[0], d);
    for (int32_t i = 1; i < n; ++i) {
        float value = dot(v[i], d);
        if (value < best) {
            best = value;
            best_index = i;
        }
    }
    return best_index;
}

namespace {

// Room for the rounding of the overlap tests, which place shapes relative to one another: a
// part in ten thousand of the box's distance from the origin is far more than their error.
Bounds padded(float left, float bottom, float right, float top) {
    const float far = std::fmax(std::fmax(std::fabs(left), std::fabs(right)),
                                std::fmax(std::fabs(bottom), std::fabs(top)));
    const float pad = far * 1e-4f + 1e-30f;
    return {left - pad, bottom - pad, right + pad, top + pad};
}

// Beyond this the tests' products overflow, and an infinity may pass for an overlap.
constexpr float far_limit = 1e15f;

bool within_reach(const Bounds& b) {
    return std::fabs(b.left) < far_limit && std::fabs(b.bottom) < far_limit &&
           std::fabs(b.right) < far_limit && std::fabs(b.top) < far_limit;
}

// Every turn to the left, the edges' directions going round once, and each normal the unit
// outward normal of its edge: what the separating-axis test takes for granted.
bool convex_counter_clockwise(const PolygonShape& polygon) {
    const int32_t n = polygon.count();
    if (n < 3) {
        return false;
    }
    const Vector2* v = polygon.vertices();
    const Vector2* normals = polygon.normals();
    int x_turns = 0, y_turns = 0;
    float last_x = 0.0f, last_y = 0.0f;
    for (int32_t i = 0; i < n; ++i) {
        const Vector2 e = v[(i + 1) % n] - v[i];
        const Vector2 next = v[(i + 2) % n] - v[(i + 1) % n];
        if (!(cross(e, next) > 0.0f)) {
            return false;
        }
        const float length = std::sqrt(dot(e, e));
        const Vector2 outward{e.y / length, -e.x / length};
        if (!(std::fabs(normals[i].x - outward.x) <= 1e-4f &&
              std::fabs(normals[i].y - outward.y) <= 1e-4f)) {
            return false;
        }
        if (e.x != 0.0f) {
            x_turns += last_x != 0.0f && (e.x > 0.0f) != (last_x > 0.0f) ? 1 : 0;
            last_x = e.x;
        }
        if (e.y != 0.0f) {
            y_turns += last_y != 0.0f && (e.y > 0.0f) != (last_y > 0.0f) ? 1 : 0;
            last_y = e.y;
        }
    }
    // The sign changes counted so far plus the one from the last edge back to the first.
    const Vector2 first = v[1 % n] - v[0];
    if (first.x != 0.0f && last_x != 0.0f && (first.x > 0.0f) != (last_x > 0.0f)) {
        ++x_turns;
    }
    if (first.y != 0.0f && last_y != 0.0f && (first.y > 0.0f) != (last_y > 0.0f)) {
        ++y_turns;
    }
    return x_turns <= 2 && y_turns <= 2;
}

// A rotation with a scale: the frame the overlap tests undo by transposing its axes and
// dividing by its scale.
bool rigid(const Transform& t) {
    const float tolerance = 1e-5f;
    return std::fabs(t.scale) >= 1e-6f && std::fabs(t.scale) < far_limit &&
           std::fabs(dot(t.axis_x, t.axis_x) - 1.0f) <= tolerance &&
           std::fabs(dot(t.axis_y, t.axis_y) - 1.0f) <= tolerance &&
           std::fabs(dot(t.axis_x, t.axis_y)) <= tolerance && cross(t.axis_x, t.axis_y) > 0.0f;
}

}  // namespace

Reach overlap_bounds(const Shape& shape, const Transform& transform, Bounds& box) {
    if (shape.type() == Shape::circle_type) {
        const auto& circle = static_cast<const CircleShape&>(shape);
        // The tests square the radius: a negative one reaches as far as its size.
        const Vector2 c = transform.apply(circle.center);
        const float r = std::fabs(circle.radius * transform.scale);
        box = padded(c.x - r, c.y - r, c.x + r, c.y + r);
        return within_reach(box) ? Reach::bounded : Reach::anything;
    }
    if (shape.type() != Shape::polygon_type) {
        return Reach::nothing;
    }
    const auto& polygon = static_cast<const PolygonShape&>(shape);
    if (polygon.count() < 1) {
        return Reach::nothing;
    }
    if (!rigid(transform) || !convex_counter_clockwise(polygon)) {
        return Reach::anything;
    }
    Vector2 p = transform.apply(polygon.vertex(0));
    float left = p.x, right = p.x, bottom = p.y, top = p.y;
    for (int32_t i = 1; i < polygon.count(); ++i) {
        p = transform.apply(polygon.vertex(i));
        left = std::fmin(left, p.x);
        right = std::fmax(right, p.x);
        bottom = std::fmin(bottom, p.y);
        top = std::fmax(top, p.y);
    }
    box = padded(left, bottom, right, top);
    return within_reach(box) ? Reach::bounded : Reach::anything;
}
