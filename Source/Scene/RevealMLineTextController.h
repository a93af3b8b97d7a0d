#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Scene/EntityController.h"

// Types the lines of a multiline text out letter by letter, one more every period. It holds the
// full lines; the text holds what has been revealed so far.
class RevealMLineTextController : public EntityController {
  public:
    // The first step comes one period after the start.
    RevealMLineTextController(std::vector<std::string> lines, float period);

    int32_t update(Entity& entity, float dt) override;

    std::vector<std::string> lines;
    float countdown;  // seconds to the next step
    float period;     // seconds per letter
    size_t line = 0;  // the line being revealed
    int32_t shown = 1;
};
