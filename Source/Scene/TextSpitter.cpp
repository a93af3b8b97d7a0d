#include "Scene/TextSpitter.h"

#include <algorithm>

#include "Render/FontMap.h"
#include "Render/Registries.h"
#include "Render/Renderer.h"
#include "Render/SubTexture.h"

TextSpitter::TextSpitter() {
    set_half_size(20.0f, 10.0f);
}

void TextSpitter::set_font(const std::string& name) {
    if (const FontMap* found = FontMapRegistry::instance().find(name)) {
        font = found;
        layout();
    }
}

void TextSpitter::add_text(const std::string& text) {
    lines.push_back(text);
    layout();
    // Saturates: no script writes two billion letters, but nothing may overflow if it does.
    int64_t sum = 0;
    for (const std::string& line : lines)
        sum += static_cast<int64_t>(line.size());
    total = static_cast<int32_t>(std::min<int64_t>(sum, INT32_MAX - 1));
}

void TextSpitter::replace_text(const std::string& text) {
    clear();
    if (!text.empty()) {
        size_t start = 0;
        for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
            lines.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        lines.push_back(text.substr(start));
    }
    int64_t sum = 0;
    for (const std::string& line : lines)
        sum += static_cast<int64_t>(line.size());
    total = static_cast<int32_t>(std::min<int64_t>(sum, INT32_MAX - 1));
    layout();
    countdown = period;
    // Shown at once, not at the next update: a text replaced after the level's update (by the
    // frame script) is drawn whole in the same frame.
    if (!(period > 0.0f)) {
        while (spat <= total)
            show(spat++);
    }
}

void TextSpitter::clear() {
    spat = 0;
    total = 0;
    lines.clear();
    letters.clear();
}

void TextSpitter::layout() {
    if (!font || lines.empty())
        return;
    const float s = transform.scale;
    const float n = static_cast<float>(lines.size());
    size_t longest = 0;
    for (const std::string& line : lines)
        longest = std::max(longest, line.size());
    const float t = static_cast<float>(longest);
    const float d = font->line_spacing * s * (n - 1.0f) + font->letter_height * s * n;
    const float u = (font->letter_spacing * s * (t - 1.0f) + font->letter_width * s * t) / 2.0f;
    corners[0] = {-u, -d / 2.0f};
    corners[1] = {u, -d / 2.0f};
    corners[2] = {u, d / 2.0f};
    corners[3] = {-u, d / 2.0f};
}

bool TextSpitter::update(float dt) {
    if (total == 0 || spat > total)
        return false;
    countdown -= dt;
    // Ends once every letter is out, so a period of 0 or less shows them all at once instead
    // of never ending.
    while (countdown < 0.0f && spat <= total) {
        countdown += period;
        show(spat);
        ++spat;
    }
    return false;
}

void TextSpitter::show(int32_t index) {
    if (!font || index < 0)
        return;
    // The line and column of letter number index.
    size_t k = 0;
    size_t i = static_cast<size_t>(index);
    while (k < lines.size() && i >= lines[k].size()) {
        i -= lines[k].size();
        ++k;
    }
    if (k >= lines.size())
        return;  // every letter is out
    const float s = transform.scale;
    const float W = font->letter_width, H = font->letter_height;
    const float sx = font->letter_spacing, sy = font->line_spacing;
    const Vector2 top_left = corners[3];
    SpitLetter letter;
    letter.subtexture = font->find(static_cast<unsigned char>(lines[k][i]));
    letter.offset = {top_left.x + static_cast<float>(i) * (W + sx) * s + W * s / 2.0f,
                     top_left.y - (static_cast<float>(k) * (H + sy) * s + H * s / 2.0f)};
    letter.corners[0] = {-W / 2.0f, -H / 2.0f};
    letter.corners[1] = {W / 2.0f, -H / 2.0f};
    letter.corners[2] = {W / 2.0f, H / 2.0f};
    letter.corners[3] = {-W / 2.0f, H / 2.0f};
    letters.push_back(letter);
}

void TextSpitter::draw(Renderer& renderer, const Color& tint) {
    if (!font || lines.empty())
        return;
    const Color c = colour * tint;
    Transform placed = transform;
    for (const SpitLetter& letter : letters) {
        // The offset is in world units: neither rotated nor scaled.
        placed.position = transform.position + letter.offset;
        const SubTexture* sub = letter.subtexture;
        renderer.draw_quad(placed, letter.corners, c, sub ? sub->texture : nullptr,
                           sub ? sub->corners : nullptr);
    }
}

std::unique_ptr<Sprite> TextSpitter::clone() const {
    auto copy = std::make_unique<TextSpitter>(*this);
    copy->id = 0;
    return copy;
}
