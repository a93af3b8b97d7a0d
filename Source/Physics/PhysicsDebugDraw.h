#pragma once

#include "Physics/Collider.h"
#include "Physics/SegmentStrip.h"

class Renderer;

// The debug view of the level's ground and colliders.

// Every segment of every strip as a line in its strip's colour; disabled strips too.
void draw_segment_strips(const SegmentStripList& strips, Renderer& renderer);
// Every collider with a shape: circles and polygons in the collider's colour.
void draw_colliders(const ColliderList& colliders, Renderer& renderer);
