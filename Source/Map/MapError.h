#pragma once

#include <stdexcept>

// Why a map cannot be used; the readers throw it and catch it at their entry, so it never
// leaves them.
struct MapError : std::runtime_error {
    using std::runtime_error::runtime_error;
};
