#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "Physics/CircleShape.h"
#include "Physics/Collision.h"
#include "Physics/PolygonShape.h"

// Random convex polygons and circles under random transforms, checked against an independent
// double-precision answer. Configurations within a small margin of touching are skipped: there
// single-precision rounding may legitimately decide either way.

namespace {

constexpr double margin = 1e-3;
constexpr double pi = 3.14159265358979323846;

struct DVec {
    double x, y;
};
DVec operator-(DVec a, DVec b) {
    return {a.x - b.x, a.y - b.y};
}
double ddot(DVec a, DVec b) {
    return a.x * b.x + a.y * b.y;
}

class Generator {
  public:
    explicit Generator(uint32_t seed) : rng_(seed) {}

    float uniform(float lo, float hi) {
        return std::uniform_real_distribution<float>(lo, hi)(rng_);
    }

    // Points on a circle in counter-clockwise order, then a linear map with positive
    // determinant and an offset: convex, counter-clockwise, not centred on the origin.
    std::unique_ptr<PolygonShape> polygon() {
        int32_t n = std::uniform_int_distribution<int32_t>(3, 8)(rng_);
        std::vector<float> angles;
        for (;;) {
            angles.clear();
            for (int32_t i = 0; i < n; ++i) {
                angles.push_back(uniform(0.0f, 2.0f * static_cast<float>(pi)));
            }
            std::sort(angles.begin(), angles.end());
            bool spread = true;
            for (int32_t i = 0; i < n; ++i) {
                float next = i + 1 < n ? angles[i + 1] : angles[0] + 2.0f * static_cast<float>(pi);
                spread = spread && next - angles[i] > 0.25f && next - angles[i] < 2.8f;
            }
            if (spread) {
                break;
            }
        }
        float sx = uniform(0.5f, 2.5f), sy = uniform(0.5f, 2.5f), shear = uniform(-0.5f, 0.5f);
        Vector2 offset{uniform(-1.0f, 1.0f), uniform(-1.0f, 1.0f)};
        auto p = std::make_unique<PolygonShape>(n);
        for (int32_t i = 0; i < n; ++i) {
            float c = std::cos(angles[i]), s = std::sin(angles[i]);
            p->set_vertex(i, sx * c + shear * s + offset.x, sy * s + offset.y);
        }
        return p;
    }

    std::unique_ptr<CircleShape> circle() {
        return std::make_unique<CircleShape>(uniform(-1.5f, 1.5f), uniform(-1.5f, 1.5f),
                                             uniform(0.3f, 2.5f));
    }

    Transform transform() {
        Transform t;
        t.position = {uniform(-5.0f, 5.0f), uniform(-5.0f, 5.0f)};
        t.set_rotation(uniform(-3.2f, 3.2f));
        t.scale = uniform(0.5f, 2.0f);
        return t;
    }

  private:
    std::mt19937 rng_;
};

DVec world(const Transform& t, Vector2 p) {
    double px = static_cast<double>(p.x) * t.scale, py = static_cast<double>(p.y) * t.scale;
    return {t.position.x + t.axis_x.x * px + t.axis_y.x * py,
            t.position.y + t.axis_x.y * px + t.axis_y.y * py};
}

std::vector<DVec> world_polygon(const PolygonShape& p, const Transform& t) {
    std::vector<DVec> out;
    for (int32_t i = 0; i < p.count(); ++i) {
        out.push_back(world(t, p.vertex(i)));
    }
    return out;
}

// The largest separation over both polygons' edge axes: > 0 apart, < 0 overlapping.
double polygon_separation(const std::vector<DVec>& a, const std::vector<DVec>& b) {
    double best = -1e300;
    for (int pass = 0; pass < 2; ++pass) {
        const auto& p = pass == 0 ? a : b;
        const auto& q = pass == 0 ? b : a;
        for (size_t i = 0; i < p.size(); ++i) {
            DVec e = p[(i + 1) % p.size()] - p[i];
            double len = std::sqrt(ddot(e, e));
            DVec n{e.y / len, -e.x / len};
            double lowest = 1e300;
            for (const DVec& v : q) {
                lowest = std::min(lowest, ddot(n, v - p[i]));
            }
            best = std::max(best, lowest);
        }
    }
    return best;
}

// Signed distance from a point to a polygon: negative inside.
double signed_distance(const std::vector<DVec>& p, DVec c) {
    double outside = -1e300;
    double nearest = 1e300;
    for (size_t i = 0; i < p.size(); ++i) {
        DVec a = p[i], b = p[(i + 1) % p.size()];
        DVec e = b - a;
        double len = std::sqrt(ddot(e, e));
        outside = std::max(outside, (e.y * (c.x - a.x) - e.x * (c.y - a.y)) / len);
        double t = std::clamp(ddot(c - a, e) / ddot(e, e), 0.0, 1.0);
        DVec q{a.x + e.x * t - c.x, a.y + e.y * t - c.y};
        nearest = std::min(nearest, std::sqrt(ddot(q, q)));
    }
    return outside < 0 ? outside : nearest;
}

struct Placed {
    const Shape* shape;
    Transform transform;
};

// Overlap decided in double precision, or nothing when too close to touching to tell.
std::optional<bool> reference_overlap(const Placed& a, const Placed& b) {
    auto is_circle = [](const Shape* s) { return s->type() == Shape::circle_type; };
    if (is_circle(a.shape) && is_circle(b.shape)) {
        const auto& ca = static_cast<const CircleShape&>(*a.shape);
        const auto& cb = static_cast<const CircleShape&>(*b.shape);
        DVec d = world(b.transform, cb.center) - world(a.transform, ca.center);
        double gap = std::sqrt(ddot(d, d)) - (double(ca.radius) * a.transform.scale +
                                              double(cb.radius) * b.transform.scale);
        return std::fabs(gap) < margin ? std::nullopt : std::optional<bool>(gap < 0);
    }
    if (is_circle(a.shape) != is_circle(b.shape)) {
        const Placed& c = is_circle(a.shape) ? a : b;
        const Placed& p = is_circle(a.shape) ? b : a;
        const auto& circle = static_cast<const CircleShape&>(*c.shape);
        double gap =
            signed_distance(world_polygon(static_cast<const PolygonShape&>(*p.shape), p.transform),
                            world(c.transform, circle.center)) -
            double(circle.radius) * c.transform.scale;
        return std::fabs(gap) < margin ? std::nullopt : std::optional<bool>(gap < 0);
    }
    double gap =
        polygon_separation(world_polygon(static_cast<const PolygonShape&>(*a.shape), a.transform),
                           world_polygon(static_cast<const PolygonShape&>(*b.shape), b.transform));
    return std::fabs(gap) < margin ? std::nullopt : std::optional<bool>(gap < 0);
}

struct Tally {
    int overlapping = 0;
    int apart = 0;
    int skipped = 0;
};

void check_pair(const Placed& a, const Placed& b, Tally& tally) {
    std::optional<bool> expected = reference_overlap(a, b);
    if (!expected) {
        ++tally.skipped;
        return;
    }
    bool ab = overlaps(*a.shape, a.transform, *b.shape, b.transform);
    bool ba = overlaps(*b.shape, b.transform, *a.shape, a.transform);
    ASSERT_EQ(ab, *expected);
    ASSERT_EQ(ba, *expected);
    Manifold m = collide(*a.shape, a.transform, *b.shape, b.transform);
    Manifold swapped = collide(*b.shape, b.transform, *a.shape, a.transform);
    if (!*expected) {
        ++tally.apart;
        ASSERT_EQ(m.count, 0);
        ASSERT_EQ(swapped.count, 0);
        return;
    }
    ++tally.overlapping;
    ASSERT_GE(m.count, 1);
    ASSERT_EQ(swapped.count, m.count);
    ASSERT_NEAR(std::sqrt(dot(m.normal, m.normal)), 1.0f, 1e-5f);
    ASSERT_NEAR(m.normal.x, -swapped.normal.x, 1e-5f);
    ASSERT_NEAR(m.normal.y, -swapped.normal.y, 1e-5f);
    for (int32_t i = 0; i < m.count; ++i) {
        ASSERT_GE(m.contacts[i].depth, 0.0f);
        ASSERT_NEAR(m.contacts[i].point.x, swapped.contacts[i].point.x, 1e-4f);
        ASSERT_NEAR(m.contacts[i].point.y, swapped.contacts[i].point.y, 1e-4f);
        ASSERT_NEAR(m.contacts[i].depth, swapped.contacts[i].depth, 1e-4f);
    }
}

void run_pairs(uint32_t seed, bool first_circle, bool second_circle) {
    Generator gen(seed);
    Tally tally;
    for (int i = 0; i < 20000; ++i) {
        std::unique_ptr<Shape> a, b;
        a = first_circle ? std::unique_ptr<Shape>(gen.circle()) : gen.polygon();
        b = second_circle ? std::unique_ptr<Shape>(gen.circle()) : gen.polygon();
        Placed pa{a.get(), gen.transform()}, pb{b.get(), gen.transform()};
        SCOPED_TRACE(testing::Message() << "case " << i);
        check_pair(pa, pb, tally);
        if (testing::Test::HasFatalFailure()) {
            return;
        }
    }
    // Both answers must be well represented for the run to mean anything.
    EXPECT_GT(tally.overlapping, 2000);
    EXPECT_GT(tally.apart, 2000);
    EXPECT_LT(tally.skipped, 200);
}

TEST(CollisionPropertyTest, CirclesAgreeWithExactGeometry) {
    run_pairs(1, true, true);
}

TEST(CollisionPropertyTest, PolygonsAndCirclesAgreeWithExactGeometry) {
    run_pairs(2, false, true);
}

TEST(CollisionPropertyTest, PolygonsAgreeWithExactGeometry) {
    run_pairs(3, false, false);
}

TEST(CollisionPropertyTest, ContactsLieWhereTheShapesMeet) {
    // Every contact point is within its depth of both placed shapes' boundaries or insides.
    Generator gen(4);
    int checked = 0;
    for (int i = 0; i < 5000; ++i) {
        auto a = gen.polygon();
        auto b = gen.polygon();
        Transform xa = gen.transform(), xb = gen.transform();
        Manifold m = collide(*a, xa, *b, xb);
        auto wa = world_polygon(*a, xa), wb = world_polygon(*b, xb);
        for (int32_t k = 0; k < m.count; ++k) {
            DVec p{m.contacts[k].point.x, m.contacts[k].point.y};
            double slack = m.contacts[k].depth / 2 + 1e-3;
            ASSERT_LE(signed_distance(wa, p), slack) << i;
            ASSERT_LE(signed_distance(wb, p), slack) << i;
            ++checked;
        }
    }
    EXPECT_GT(checked, 1000);
}

}  // namespace
