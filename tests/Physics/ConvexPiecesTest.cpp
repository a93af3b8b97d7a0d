// Concave outlines split into convex pieces that cover them exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "Physics/ConvexPieces.h"

namespace {

using Outline = std::vector<Vector2>;

float area(const Outline& p) {
    float sum = 0;
    for (size_t i = 0; i < p.size(); ++i)
        sum += cross(p[i], p[(i + 1) % p.size()]);
    return sum / 2;
}

bool convex_and_counter_clockwise(const Outline& p) {
    for (size_t i = 0; i < p.size(); ++i)
        if (cross(p[(i + 1) % p.size()] - p[i], p[(i + 2) % p.size()] - p[(i + 1) % p.size()]) < 0)
            return false;
    return p.size() >= 3 && area(p) > 0;
}

// Strictly inside a counter-clockwise convex piece.
bool strictly_inside(Vector2 q, const Outline& p) {
    for (size_t i = 0; i < p.size(); ++i)
        if (cross(p[(i + 1) % p.size()] - p[i], q - p[i]) <= 0)
            return false;
    return true;
}

// Inside a simple polygon, by the crossing rule.
bool inside_outline(Vector2 q, const Outline& p) {
    bool in = false;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++)
        if ((p[i].y > q.y) != (p[j].y > q.y) &&
            q.x < (p[j].x - p[i].x) * (q.y - p[i].y) / (p[j].y - p[i].y) + p[i].x)
            in = !in;
    return in;
}

// Every piece convex, their areas add up to the outline's, and sample points inside the
// outline lie in exactly one piece (points on a piece's edge are skipped).
void expect_exact_cover(const Outline& outline, const std::vector<Outline>& pieces) {
    float sum = 0;
    for (const Outline& piece : pieces) {
        EXPECT_TRUE(convex_and_counter_clockwise(piece));
        sum += area(piece);
    }
    EXPECT_NEAR(sum, std::abs(area(outline)), 1e-3f * std::abs(area(outline)));
    float left = 1e9f, right = -1e9f, bottom = 1e9f, top = -1e9f;
    for (Vector2 p : outline) {
        left = std::min(left, p.x), right = std::max(right, p.x);
        bottom = std::min(bottom, p.y), top = std::max(top, p.y);
    }
    for (int i = 0; i <= 40; ++i)
        for (int j = 0; j <= 40; ++j) {
            // Off the grid of whole numbers the outlines use, so no sample is on an edge.
            const Vector2 q{left + (right - left) * (float(i) + 0.37f) / 41.0f,
                            bottom + (top - bottom) * (float(j) + 0.61f) / 41.0f};
            int in = 0;
            for (const Outline& piece : pieces)
                in += strictly_inside(q, piece);
            if (inside_outline(q, outline))
                EXPECT_LE(in, 1) << q.x << ", " << q.y;
            else
                EXPECT_EQ(in, 0) << q.x << ", " << q.y;
        }
}

}  // namespace

TEST(ConvexPieces, SplitsOutlinesIntoFewConvexPiecesThatCoverThem) {
    struct Case {
        const char* name;
        Outline outline;
        size_t most_pieces;
    };
    const Case cases[] = {
        {"square", {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 1},
        {"square clockwise with a corner on a side",
         {{0, 0}, {0, 10}, {10, 10}, {10, 5}, {10, 0}},
         1},
        {"L", {{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}}, 2},
        {"notched", {{0, 0}, {20, 0}, {10, 5}, {20, 20}, {0, 20}}, 2},
        {"U", {{0, 0}, {30, 0}, {30, 30}, {20, 30}, {20, 10}, {10, 10}, {10, 30}, {0, 30}}, 3},
        {"comb",
         {{0, 0},
          {50, 0},
          {50, 20},
          {40, 20},
          {40, 5},
          {30, 5},
          {30, 20},
          {20, 20},
          {20, 5},
          {10, 5},
          {10, 20},
          {0, 20}},
         5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Outline> pieces;
        ASSERT_EQ(convex_pieces(c.outline, pieces), "");
        EXPECT_LE(pieces.size(), c.most_pieces);
        expect_exact_cover(c.outline, pieces);
    }
}

TEST(ConvexPieces, RandomStarShapedOutlinesAreCoveredExactly) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> radius(2, 20);
    for (int round = 0; round < 200; ++round) {
        const int corners = 3 + round % 30;
        Outline outline;
        for (int i = 0; i < corners; ++i) {
            const float a = 2 * 3.14159265f * float(i) / float(corners);
            const float r = radius(random);
            outline.push_back(
                {std::round(r * std::cos(a) * 16) / 16, std::round(r * std::sin(a) * 16) / 16});
        }
        std::vector<Outline> pieces;
        ASSERT_EQ(convex_pieces(outline, pieces), "") << "round " << round;
        expect_exact_cover(outline, pieces);
    }
}

TEST(ConvexPieces, OutlinesThatCannotBeSplitSayWhy) {
    struct Case {
        const char* name;
        Outline outline;
        const char* reason;
    };
    Outline many;
    for (int i = 0; i < 300; ++i)
        many.push_back({std::cos(float(i)), std::sin(float(i))});
    const Case cases[] = {
        {"two corners", {{0, 0}, {5, 5}}, "without area"},
        {"a line", {{0, 0}, {5, 0}, {10, 0}}, "without area"},
        {"a bow tie", {{0, 0}, {10, 10}, {10, 0}, {0, 10}}, "without area"},
        {"a crossed loop",
         {{0, 0}, {20, 0}, {20, 20}, {5, 20}, {5, -10}, {0, -10}},
         "crosses itself"},
        {"too many corners", many, "more than 256 corners"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Outline> pieces{{{1, 1}}};
        const std::string why = convex_pieces(c.outline, pieces);
        EXPECT_NE(why.find(c.reason), std::string::npos) << why;
        EXPECT_TRUE(pieces.empty());
    }
}
