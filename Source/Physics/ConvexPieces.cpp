#include "Physics/ConvexPieces.h"

#include <algorithm>
#include <cstddef>

namespace {

// Ear clipping is cubic in the corner count: outlines drawn by hand stay far below this.
constexpr size_t max_corners = 256;

bool inside_triangle(Vector2 p, Vector2 a, Vector2 b, Vector2 c) {
    // On an edge counts as inside, so an ear never swallows a corner touching it.
    return cross(b - a, p - a) >= 0 && cross(c - b, p - b) >= 0 && cross(a - c, p - c) >= 0;
}

bool convex(const std::vector<Vector2>& polygon) {
    const size_t n = polygon.size();
    for (size_t i = 0; i < n; ++i)
        if (cross(polygon[(i + 1) % n] - polygon[i], polygon[(i + 2) % n] - polygon[(i + 1) % n]) <
            0)
            return false;
    return true;
}

// The union of two counter-clockwise pieces sharing the edge a -> b of `first` (b -> a of
// `second`), or empty when they share no edge.
std::vector<Vector2> joined(const std::vector<Vector2>& first, const std::vector<Vector2>& second) {
    const size_t n = first.size(), m = second.size();
    for (size_t i = 0; i < n; ++i) {
        const Vector2 a = first[i], b = first[(i + 1) % n];
        for (size_t j = 0; j < m; ++j) {
            if (second[j] != b || second[(j + 1) % m] != a)
                continue;
            // first from b round to a, then second from a's successor round to b's predecessor.
            std::vector<Vector2> out;
            for (size_t k = 0; k < n; ++k)
                out.push_back(first[(i + 1 + k) % n]);
            for (size_t k = 2; k < m; ++k)
                out.push_back(second[(j + k) % m]);
            return out;
        }
    }
    return {};
}

// Drops repeated corners and corners on a straight line between their neighbours.
void tidy(std::vector<Vector2>& polygon) {
    for (bool changed = true; changed && polygon.size() >= 3;) {
        changed = false;
        const size_t n = polygon.size();
        for (size_t i = 0; i < n; ++i) {
            const Vector2 prev = polygon[(i + n - 1) % n], here = polygon[i],
                          next = polygon[(i + 1) % n];
            if (here == prev || cross(here - prev, next - here) == 0) {
                polygon.erase(polygon.begin() + static_cast<std::ptrdiff_t>(i));
                changed = true;
                break;
            }
        }
    }
}

}  // namespace

std::string convex_pieces(std::vector<Vector2> outline, std::vector<std::vector<Vector2>>& pieces) {
    pieces.clear();
    if (outline.size() > max_corners)
        return "a polygon of more than " + std::to_string(max_corners) + " corners";
    tidy(outline);
    float area = 0;
    for (size_t i = 0; i < outline.size(); ++i)
        area += cross(outline[i], outline[(i + 1) % outline.size()]);
    if (outline.size() < 3 || area == 0)
        return "a polygon without area";
    if (area < 0)
        std::reverse(outline.begin(), outline.end());
    if (convex(outline)) {
        pieces.push_back(std::move(outline));
        return "";
    }
    std::vector<std::vector<Vector2>> triangles;
    std::vector<Vector2> rest = outline;
    while (rest.size() > 3) {
        const size_t n = rest.size();
        size_t ear = n;
        for (size_t i = 0; i < n && ear == n; ++i) {
            const Vector2 a = rest[(i + n - 1) % n], b = rest[i], c = rest[(i + 1) % n];
            if (cross(b - a, c - b) <= 0)
                continue;
            bool empty = true;
            for (size_t k = 0; k < n && empty; ++k) {
                const Vector2 p = rest[k];
                if (p != a && p != b && p != c && inside_triangle(p, a, b, c))
                    empty = false;
            }
            if (empty)
                ear = i;
        }
        // A simple polygon always has an ear; one without is crossing itself.
        if (ear == n)
            return "a polygon that crosses itself";
        triangles.push_back({rest[(ear + n - 1) % n], rest[ear], rest[(ear + 1) % n]});
        rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(ear));
        tidy(rest);
    }
    if (rest.size() == 3)
        triangles.push_back(rest);
    // The clipped triangles must add up to the outline, or it crossed itself.
    float covered = 0;
    for (const auto& t : triangles)
        covered += cross(t[1] - t[0], t[2] - t[0]);
    if (std::abs(covered - std::abs(area)) > 1e-3f * std::abs(area))
        return "a polygon that crosses itself";
    // Neighbours merged while the union stays convex: far fewer pieces than triangles.
    for (bool merged = true; merged;) {
        merged = false;
        for (size_t i = 0; i < triangles.size() && !merged; ++i)
            for (size_t j = i + 1; j < triangles.size() && !merged; ++j) {
                std::vector<Vector2> both = joined(triangles[i], triangles[j]);
                tidy(both);
                if (both.empty() || !convex(both))
                    continue;
                triangles[i] = std::move(both);
                triangles.erase(triangles.begin() + static_cast<std::ptrdiff_t>(j));
                merged = true;
            }
    }
    pieces = std::move(triangles);
    return "";
}
