#pragma once

#include <cstdint>
#include <memory>

#include "Core/Tracked.h"

// A collision shape in its own local coordinates; a Transform supplied by the caller places it.
class Shape : public Tracked {
  public:
    static constexpr int32_t circle_type = 0;
    static constexpr int32_t polygon_type = 1;

    virtual ~Shape();
    virtual int32_t type() const = 0;
    // A new shape of the same kind with equal contents, owned by the caller.
    virtual std::unique_ptr<Shape> clone() const = 0;

  protected:
    Shape() = default;
    Shape(const Shape&) = default;
    Shape& operator=(const Shape&) = default;
};
