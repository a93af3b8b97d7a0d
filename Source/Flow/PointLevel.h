#pragma once

#include <cstdint>
#include <string>

// A grade: the least points that earn it, and its name.
struct PointLevel {
    int32_t min_points = 0;
    std::string name;
};
