#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Flow/DialogLine.h"

// A question bubble: placed and styled as a line, with options the player chooses between.
struct DialogQuestion : DialogLine {
    struct Option {
        std::string text;
        int32_t target;  // the frame id an answer leads to
    };
    std::vector<Option> options;
};
