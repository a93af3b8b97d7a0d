// Letter-table letters and speech bubbles, placed by the Scene objects that draw them. Each
// operation sets the state it draws with itself and leaves texturing off.

#include "Render/GLRenderer.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "Render/LetterTable.h"

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

void GLRenderer::draw_letters(const Transform& transform, const Color& colour,
                              const LetterTable& font, const std::string& line, float x,
                              float bottom, float height, float letter_spacing, float scale) {
    if (!camera_ || !gl_context_ || line.empty())
        return;
    const Color c = clamped(colour);
    if (batching_) {
        batch_letters(clip_affine(transform), c, line, font, x, bottom, height, letter_spacing,
                      scale);
        return;
    }
    push_model_view(transform);
    glColor4fv(c.data());
    draw_letters_now(line, font, x, bottom, height, letter_spacing, scale);
    glPopMatrix();
}

void GLRenderer::draw_speech_bubble(const Transform& transform, const Color& colour, float xl,
                                    float yb, float xr, float yt, float r, float tail_x) {
    if (!camera_ || !gl_context_)
        return;
    flush_batch();
    push_model_view(transform);
    glColor4fv(clamped(colour).data());

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

    // The tail points straight down from the bottom edge.
    const float px = tail_x;
    const float py = yb - r;
    glBegin(GL_TRIANGLES);
    glVertex2f(px - r / 2.0f, py);
    glVertex2f(px, py - r);
    glVertex2f(px + r / 2.0f, py);
    glEnd();
    glPopMatrix();
}
