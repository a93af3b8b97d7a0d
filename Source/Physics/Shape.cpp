#include "Physics/Shape.h"

Shape::~Shape() = default;
