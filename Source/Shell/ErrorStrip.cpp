#include "Shell/ErrorStrip.h"

#include <algorithm>
#include <cstdio>

#include "Render/Renderer.h"
#include "Render/ScreenFont.h"

namespace {
constexpr int32_t margin = 6;
constexpr Color background{0.30f, 0.02f, 0.02f, 0.88f};
constexpr Color text_color{1.0f, 0.86f, 0.55f, 1.0f};
constexpr Color heading_color{1.0f, 1.0f, 1.0f, 1.0f};
}  // namespace

void ErrorStrip::add(const std::string& message, uint32_t now_ms) {
    std::string text = message;
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 32)
            c = ' ';
    lines_.push_back({std::move(text), now_ms});
    while (lines_.size() > max_lines)
        lines_.pop_front();
}

void ErrorStrip::clear() {
    lines_.clear();
    pinned_ = nullptr;
}

bool ErrorStrip::shows(const Line& line, uint32_t now_ms) const {
    return pinned_ != nullptr || now_ms - line.at_ms < show_ms;
}

bool ErrorStrip::showing(uint32_t now_ms) const {
    return pinned_ || std::any_of(lines_.begin(), lines_.end(),
                                  [&](const Line& line) { return shows(line, now_ms); });
}

void ErrorStrip::draw(Renderer& renderer, ScreenFont& font, int32_t width, uint32_t now_ms) const {
    if (!showing(now_ms))
        return;
    int32_t count = pinned_ ? 1 : 0;
    for (const Line& line : lines_)
        count += shows(line, now_ms) ? 1 : 0;
    const int32_t line_height = font.line_height();
    const float top = static_cast<float>(count * line_height + 2 * margin);
    const float right = static_cast<float>(width);
    const Vector2 corners[4] = {{0.0f, 0.0f}, {right, 0.0f}, {right, top}, {0.0f, top}};
    renderer.draw_quad(Transform{}, corners, background, nullptr, nullptr);

    // Lines too long for the window end in "...".
    const int32_t fits = std::max(4, (width - 2 * margin) / std::max(1, font.advance()));
    char shown[512];
    int32_t y = static_cast<int32_t>(top) - margin - line_height + 4;
    if (pinned_) {
        font.draw(renderer, margin, y, heading_color, pinned_);
        y -= line_height;
    }
    for (const Line& line : lines_) {
        if (!shows(line, now_ms))
            continue;
        const int32_t room = std::min<int32_t>(fits, static_cast<int32_t>(sizeof shown) - 1);
        if (static_cast<int32_t>(line.text.size()) <= room)
            std::snprintf(shown, sizeof shown, "%s", line.text.c_str());
        else
            std::snprintf(shown, sizeof shown, "%.*s...", room - 3, line.text.c_str());
        font.draw(renderer, margin, y, text_color, shown);
        y -= line_height;
    }
}
