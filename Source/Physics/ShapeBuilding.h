#pragma once

#include <cstdint>
#include <memory>

#include "Physics/Shape.h"

// Shapes as scripts build them. The editing calls accept any shape (or none) and change only a
// shape of the kind they are meant for, within its bounds.

// kind 0: a triangle with every vertex at the origin; 1: trunc(a) vertices at the origin;
// 2: a regular polygon of trunc(a) vertices on a circle of radius b; 3: a box of half-width a
// and half-height b. Any other kind gives no shape.
std::unique_ptr<Shape> make_shape(int32_t kind, float a, float b);
std::unique_ptr<Shape> make_circle(float x, float y, float radius);

void set_shape_vertex(Shape* shape, int32_t index, float x, float y);
void set_circle_center(Shape* shape, float x, float y);
void set_circle_radius(Shape* shape, float radius);
