// Quads, circles, polygons and lines: into the batch, or each on its own when batching is off.

#include "Render/GLRenderer.h"

#include <GL/gl.h>

#include <cmath>

#include "Render/Texture.h"

namespace {

// The circle's vertex directions: stepping a float angle by 0.1 from 0 while below 2 pi gives
// exactly 63 of them.
constexpr int circle_vertices = 63;

struct CircleTable {
    float cos[circle_vertices];
    float sin[circle_vertices];
    int count = 0;
    CircleTable() {
        const float two_pi = static_cast<float>(8.0 * std::atan(1.0));
        for (float a = 0.0f; a < two_pi && count < circle_vertices; a += 0.1f, ++count) {
            cos[count] = std::cos(a);
            sin[count] = std::sin(a);
        }
    }
};

const CircleTable& circle_table() {
    static const CircleTable table;
    return table;
}

}  // namespace

void GLRenderer::draw_quad(const Transform& transform, const Vector2* corners, const Color& color,
                           const Texture* texture, const Vector2* tex_coords) {
    if (!camera_ || !gl_context_ || !corners || (texture && !tex_coords))
        return;
    if (!batching_) {
        draw_quad_now(transform, corners, color, texture, tex_coords);
        return;
    }
    BatchKey key;
    if (texture)
        key = texture_key(*texture);
    else
        key.primitive = GL_QUADS;
    BatchVertex* v = batch_append(key, 4);
    const Affine m = clip_affine(transform);
    for (int i = 0; i < 4; ++i)
        m.apply(corners[i].x, corners[i].y, v[i]);
    if (texture)
        for (int i = 0; i < 4; ++i) {
            v[i].u = tex_coords[i].x;
            v[i].v = tex_coords[i].y;
        }
    set_colour(v, 4, color);
    batch_drawn(4);
}

void GLRenderer::draw_circle(const Transform& transform, Vector2 centre, float radius,
                             const Color& color) {
    if (!camera_ || !gl_context_)
        return;
    if (!batching_) {
        draw_circle_now(transform, centre, radius, color);
        return;
    }
    const CircleTable& table = circle_table();
    BatchKey key;
    key.primitive = GL_POLYGON;
    BatchVertex* v = batch_append(key, static_cast<size_t>(table.count));
    const Affine m = clip_affine(transform);
    for (int i = 0; i < table.count; ++i)
        m.apply(centre.x + radius * table.cos[i], centre.y + radius * table.sin[i], v[i]);
    set_colour(v, static_cast<size_t>(table.count), color);
    batch_drawn(static_cast<size_t>(table.count));
}

void GLRenderer::draw_polygon(const Transform& transform, const Vector2* points, int32_t count,
                              const Color& color) {
    if (!camera_ || !gl_context_ || !points || count <= 0)
        return;
    if (!batching_) {
        draw_polygon_now(transform, points, count, color);
        return;
    }
    BatchKey key;
    key.primitive = GL_POLYGON;
    BatchVertex* v = batch_append(key, static_cast<size_t>(count));
    const Affine m = clip_affine(transform);
    for (int32_t i = 0; i < count; ++i)
        m.apply(points[i].x, points[i].y, v[i]);
    set_colour(v, static_cast<size_t>(count), color);
    batch_drawn(static_cast<size_t>(count));
}

void GLRenderer::draw_line(Vector2 a, Vector2 b, const Color& color) {
    if (!camera_ || !gl_context_)
        return;
    if (!batching_) {
        draw_line_now(a, b, color);
        return;
    }
    BatchKey key;
    key.primitive = GL_LINES;
    BatchVertex* v = batch_append(key, 2);
    // In world units: the view alone.
    const Affine m = clip_affine(view_matrix_);
    m.apply(a.x, a.y, v[0]);
    m.apply(b.x, b.y, v[1]);
    set_colour(v, 2, color);
    batch_drawn(2);
}

void GLRenderer::draw_quad_now(const Transform& transform, const Vector2* corners,
                               const Color& color, const Texture* texture,
                               const Vector2* tex_coords) {
    push_model_view(transform);
    glColor4fv(color.data());
    if (texture) {
        const BatchKey key = texture_key(*texture);
        use_texture(key.texture, key.environment);
        glBegin(GL_QUADS);
        for (int i = 0; i < 4; ++i) {
            glTexCoord2f(tex_coords[i].x, tex_coords[i].y);
            glVertex2f(corners[i].x, corners[i].y);
        }
        glEnd();
        glDisable(GL_TEXTURE_2D);
    } else {
        glBegin(GL_QUADS);
        for (int i = 0; i < 4; ++i)
            glVertex2f(corners[i].x, corners[i].y);
        glEnd();
    }
    glPopMatrix();
}

void GLRenderer::draw_circle_now(const Transform& transform, Vector2 centre, float radius,
                                 const Color& color) {
    // Stepping a float angle by 0.1 from 0 while below 2 pi gives exactly 63 vertices.
    static const float two_pi = static_cast<float>(8.0 * std::atan(1.0));
    push_model_view(transform);
    glColor4fv(color.data());
    glBegin(GL_POLYGON);
    for (float a = 0.0f; a < two_pi; a += 0.1f)
        glVertex2f(centre.x + radius * std::cos(a), centre.y + radius * std::sin(a));
    glEnd();
    glPopMatrix();
}

void GLRenderer::draw_polygon_now(const Transform& transform, const Vector2* points, int32_t count,
                                  const Color& color) {
    push_model_view(transform);
    glColor4fv(color.data());
    glBegin(GL_POLYGON);
    for (int32_t i = 0; i < count; ++i)
        glVertex2f(points[i].x, points[i].y);
    glEnd();
    glPopMatrix();
}

void GLRenderer::draw_line_now(Vector2 a, Vector2 b, const Color& color) {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixf(view_matrix_.data());
    glColor4fv(color.data());
    glBegin(GL_LINES);
    glVertex2f(a.x, a.y);
    glVertex2f(b.x, b.y);
    glEnd();
    glPopMatrix();
}
