// Letter-table text and speech bubbles. Each operation sets the state it draws with itself and
// leaves texturing off.

#include "Render/GLRenderer.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "Render/LetterTable.h"
#include "Scene/MultilineText.h"
#include "Scene/SpeechBubble.h"
#include "Scene/Text.h"

Color GLRenderer::clamped(const Color& c) {
    return {std::clamp(c.r, 0.0f, 1.0f), std::clamp(c.g, 0.0f, 1.0f), std::clamp(c.b, 0.0f, 1.0f),
            std::clamp(c.a, 0.0f, 1.0f)};
}

namespace {

// Calls f(letter, left, right) for each letter of a line that has a texture, moving the pen
// over every letter found.
template <class F>
void for_each_letter(const std::string& line, const LetterTable& font, float x, float height,
                     float letter_spacing, float scale, F f) {
    for (char c : line) {
        const Letter* letter = font.find(static_cast<unsigned char>(c));
        if (!letter)
            continue;  // the pen does not move either
        const float w = letter->aspect * scale * height;
        if (letter->texture)
            f(*letter, x, x + w);
        x += w + letter_spacing * scale;
    }
}

}  // namespace

void GLRenderer::batch_letters(const Affine& m, const Color& color, const std::string& line,
                               const LetterTable& font, float x, float bottom, float height,
                               float letter_spacing, float scale) {
    const float top = bottom + height;
    for_each_letter(line, font, x, height, letter_spacing, scale,
                    [&](const Letter& letter, float left, float right) {
                        BatchVertex* v = batch_append(texture_key(*letter.texture), 4);
                        m.apply(left, bottom, v[0]);
                        m.apply(right, bottom, v[1]);
                        m.apply(right, top, v[2]);
                        m.apply(left, top, v[3]);
                        v[0].u = v[3].u = letter.u_left;
                        v[1].u = v[2].u = letter.u_right;
                        v[0].v = v[1].v = letter.v_bottom;
                        v[2].v = v[3].v = letter.v_top;
                        set_colour(v, 4, color);
                        batch_drawn(4);
                    });
}

void GLRenderer::draw_letters_now(const std::string& line, const LetterTable& font, float x,
                                  float bottom, float height, float letter_spacing, float scale) {
    const float top = bottom + height;
    for_each_letter(line, font, x, height, letter_spacing, scale,
                    [&](const Letter& letter, float left, float right) {
                        const BatchKey key = texture_key(*letter.texture);
                        use_texture(key.texture, key.environment);
                        glBegin(GL_QUADS);
                        glTexCoord2f(letter.u_left, letter.v_bottom);
                        glVertex2f(left, bottom);
                        glTexCoord2f(letter.u_right, letter.v_bottom);
                        glVertex2f(right, bottom);
                        glTexCoord2f(letter.u_right, letter.v_top);
                        glVertex2f(right, top);
                        glTexCoord2f(letter.u_left, letter.v_top);
                        glVertex2f(left, top);
                        glEnd();
                        glDisable(GL_TEXTURE_2D);
                    });
}

void GLRenderer::draw_text(const Text& text, const Color& tint) {
    const LetterTable* font = text.font.get();
    if (!camera_ || !gl_context_ || !font || text.text.empty())
        return;
    const float width = text.width();
    const float bottom = text.v_align == 0   ? -text.height / 2.0f
                         : text.v_align == 2 ? -text.height
                                             : 0.0f;
    const float x = text.h_align == 0 ? -width / 2.0f : text.h_align == 2 ? -width : 0.0f;
    const Color colour = clamped(text.colour * tint);
    if (batching_) {
        batch_letters(clip_affine(text.transform), colour, text.text, *font, x, bottom, text.height,
                      text.letter_spacing, text.scale);
        return;
    }
    push_model_view(text.transform);
    glColor4fv(colour.data());
    draw_letters_now(text.text, *font, x, bottom, text.height, text.letter_spacing, text.scale);
    glPopMatrix();
}

void GLRenderer::draw_multiline_text(const MultilineText& text, const Color& tint) {
    const LetterTable* font = text.font.get();
    if (!camera_ || !gl_context_ || !font)
        return;
    const float W = text.block_width(), H = text.block_height();
    const float x0 = text.h_align == 0 ? -W / 2.0f : text.h_align == 2 ? -W : 0.0f;
    const float y0 = text.v_align == 0 ? H / 2.0f : text.v_align == 1 ? H : 0.0f;
    const Color colour = clamped(text.colour * tint);
    Affine m{};
    if (batching_) {
        m = clip_affine(text.transform);
    } else {
        push_model_view(text.transform);
        glColor4fv(colour.data());
    }
    for (size_t k = 0; k < text.lines.size(); ++k) {
        const float bottom =
            y0 - text.height - static_cast<float>(k) * (text.line_spacing + text.height);
        const float w = text.line_width(k);
        const float left = x0 + (text.line_align == 0   ? (W - w) / 2.0f
                                 : text.line_align == 2 ? W - w
                                                        : 0.0f);
        if (batching_)
            batch_letters(m, colour, text.lines[k], *font, left, bottom, text.height,
                          text.letter_spacing, text.scale);
        else
            draw_letters_now(text.lines[k], *font, left, bottom, text.height, text.letter_spacing,
                             text.scale);
    }
    if (!batching_)
        glPopMatrix();
}

void GLRenderer::draw_speech_bubble(const SpeechBubble& bubble, const Color& tint) {
    if (!camera_ || !gl_context_)
        return;
    flush_batch();
    const float r = bubble.radius, m = std::max(bubble.width, r), h = bubble.height;
    const float xl = bubble.h_align == 0   ? -m / 2.0f
                     : bubble.h_align == 1 ? r
                     : bubble.h_align == 2 ? -r - m
                                           : 0.0f;
    const float yb = bubble.v_align == 0   ? -h / 2.0f
                     : bubble.v_align == 1 ? r
                     : bubble.v_align == 2 ? -h - r
                                           : 0.0f;
    const float xr = xl + m, yt = yb + h;

    push_model_view(bubble.transform);
    glColor4fv(clamped(bubble.colour * tint).data());

    // The inner rectangle with a quarter circle of five points at each corner.
    static const float quarter = 2.0f * std::atan(1.0f);
    static const float angles[5] = {0.0f, quarter / 4.0f, quarter / 2.0f, 3.0f * quarter / 4.0f,
                                    quarter};
    glBegin(GL_POLYGON);
    for (float b : angles)
        glVertex2f(xl - r * std::cos(b), yb - r * std::sin(b));
    for (float b : angles)
        glVertex2f(xr + r * std::sin(b), yb - r * std::cos(b));
    for (float b : angles)
        glVertex2f(xr + r * std::cos(b), yt + r * std::sin(b));
    for (float b : angles)
        glVertex2f(xl - r * std::sin(b), yt + r * std::cos(b));
    glEnd();

    // The tail points straight down from the bottom edge, as near the target as the edge
    // allows with half a radius kept free at each end.
    const Transform& t = bubble.transform;
    float tx = 0.0f;
    if (t.scale != 0.0f)
        tx = t.unrotate(bubble.tail_target - t.position).x / t.scale;
    const float from = xl + r / 2.0f, to = xr - r / 2.0f;
    float px = std::isnan(tx) ? from : tx;
    px = std::max(std::min(px, std::max(from, to)), std::min(from, to));
    const float py = yb - r;
    glBegin(GL_TRIANGLES);
    glVertex2f(px - r / 2.0f, py);
    glVertex2f(px, py - r);
    glVertex2f(px + r / 2.0f, py);
    glEnd();
    glPopMatrix();
}
