#pragma once

#include <vector>

#include "Script/MethodBinding.h"

// Every script function of LuaFunctions, one line each.
const std::vector<MethodEntry>& function_table();
