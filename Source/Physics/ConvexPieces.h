#pragma once

#include <string>
#include <vector>

#include "Render/Vector2.h"

// Splits a simple polygon (either winding, no edge crossing another) into convex pieces,
// counter-clockwise, that cover it exactly: ear clipping into triangles, then neighbours merged
// while the union stays convex. The collision tests work on convex shapes only, so a concave
// outline becomes several colliders. Returns "" or why the outline cannot be split.
std::string convex_pieces(std::vector<Vector2> outline, std::vector<std::vector<Vector2>>& pieces);
