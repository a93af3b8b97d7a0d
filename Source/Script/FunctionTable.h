#pragma once

#include <cstddef>
#include <vector>

#include "Script/MethodBinding.h"

// Every script function of LuaFunctions, one line each: first the engine's core functions, then
// the engine extensions.
const std::vector<MethodEntry>& function_table();

// How many entries at the start of the table are core functions; the rest are extensions.
constexpr size_t core_function_count = 166;
