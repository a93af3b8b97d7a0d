#include "Scene/RevealMLineTextController.h"

#include <cmath>

#include "Scene/MultilineText.h"

RevealMLineTextController::RevealMLineTextController(std::vector<std::string> lines_, float period_)
    : lines(std::move(lines_)), countdown(period_), period(period_) {
    // A period that is not a positive number reveals everything at the first update.
    if (!std::isfinite(period) || period < 0.0f)
        countdown = period = 0.0f;
}

int32_t RevealMLineTextController::update(Entity& entity, float dt) {
    auto* text = dynamic_cast<MultilineText*>(&entity);
    if (!text || lines.empty() || line >= lines.size())
        return controller_finished;
    countdown -= dt;
    while (countdown <= 0.0f) {
        ++shown;
        countdown += period;
        // Someone else may have shortened the text's lines: the revealed line must exist.
        while (text->lines.size() <= line)
            text->lines.emplace_back();
        const std::string& full = lines[line];
        if (shown >= 0 && static_cast<size_t>(shown) < full.size()) {
            text->lines[line].assign(full, 0, static_cast<size_t>(shown));
            continue;
        }
        text->lines[line] = full;
        ++line;
        shown = 0;
        if (line >= lines.size())
            return controller_finished;
        text->lines.emplace_back();
    }
    return 0;
}
