// The vertex batch. Each shape is transformed on the CPU into clip coordinates, with the same
// products OpenGL would make of its matrices, and appended to one client vertex array;
// consecutive shapes with the same BatchKey go to OpenGL in one glDrawArrays.
//
// The clipping rule: a shape that reaches the edge of the view is clipped by OpenGL, and Mesa then
// takes every vertex of that call through its clipping path, where the window coordinates come
// out rounded otherwise than when nothing is clipped. Texture coordinates follow those last bits,
// so the shapes beside it would sample other texels than when drawn on their own. Such a shape,
// and every polygon, therefore goes in a call of its own; a shape wholly beyond one edge of the
// view is left out, as OpenGL would draw nothing of it. With this, the pixels are those of drawing
// every shape on its own, to the last bit.

#include "Render/GLRenderer.h"

#include <GL/gl.h>

#include <cmath>

GLRenderer::Affine GLRenderer::clip_affine(const Matrix4& mv) const {
    // OpenGL multiplies projection x model-view on its side, term by term; the terms with a zero
    // factor drop out exactly.
    const Matrix4& p = projection_;
    return {p[0] * mv[0], p[5] * mv[1],          p[0] * mv[4],
            p[5] * mv[5], p[0] * mv[12] + p[12], p[5] * mv[13] + p[13]};
}

GLRenderer::Affine GLRenderer::clip_affine(const Transform& t) const {
    // view_matrix_ x model_matrix(t), with the same products in the same order.
    const Matrix4& v = view_matrix_;
    const float m0 = t.scale * t.axis_x.x, m1 = t.scale * t.axis_x.y;
    const float m4 = t.scale * t.axis_y.x, m5 = t.scale * t.axis_y.y;
    Matrix4 mv;
    mv[0] = v[0] * m0 + v[4] * m1;
    mv[1] = v[1] * m0 + v[5] * m1;
    mv[4] = v[0] * m4 + v[4] * m5;
    mv[5] = v[1] * m4 + v[5] * m5;
    mv[12] = v[0] * t.position.x + v[4] * t.position.y + v[12];
    mv[13] = v[1] * t.position.x + v[5] * t.position.y + v[13];
    return clip_affine(mv);
}

void GLRenderer::Affine::apply(float x, float y, BatchVertex& out) const {
    out.x = a * x + c * y + e;
    out.y = b * x + d * y + f;
}

GLRenderer::BatchVertex* GLRenderer::batch_append(const BatchKey& key, size_t count) {
    if (!batch_.empty() && !(key == batch_key_))
        flush_batch();
    if (batch_.empty()) {
        batch_key_ = key;
        GLint mode = GL_RENDER;
        glGetIntegerv(GL_RENDER_MODE, &mode);
        send_each_draw_ = mode != GL_RENDER;
    }
    const size_t at = batch_.size();
    batch_.resize(at + count);
    return &batch_[at];
}

void GLRenderer::batch_drawn(size_t count) {
    const size_t at = batch_.size() - count;
    const BatchVertex* v = batch_.data() + at;
    // Which side of each edge of the view every vertex lies on; NaN lies on none.
    bool all_left = true, all_right = true, all_below = true, all_above = true, inside = true;
    for (size_t i = 0; i < count; ++i) {
        all_left = all_left && v[i].x < -1.0f;
        all_right = all_right && v[i].x > 1.0f;
        all_below = all_below && v[i].y < -1.0f;
        all_above = all_above && v[i].y > 1.0f;
        inside = inside && std::fabs(v[i].x) < 1.0f && std::fabs(v[i].y) < 1.0f;
    }
    if (all_left || all_right || all_below || all_above) {
        // Wholly beyond one edge of the view: nothing of it is drawn, nor reported.
        batch_.resize(at);
        return;
    }
    // Reaching the view's edge: a call of its own (the clipping rule above).
    if (!inside || batch_key_.primitive == GL_POLYGON) {
        break_batch_at(at);
        break_batch_at(batch_.size());
    }
    if (send_each_draw_)
        flush_batch();
}

void GLRenderer::break_batch_at(size_t at) {
    if (at > 0 && (batch_breaks_.empty() || batch_breaks_.back() != at))
        batch_breaks_.push_back(static_cast<uint32_t>(at));
}

void GLRenderer::set_colour(BatchVertex* v, size_t count, const Color& c) {
    for (size_t i = 0; i < count; ++i) {
        v[i].r = c.r;
        v[i].g = c.g;
        v[i].b = c.b;
        v[i].a = c.a;
    }
}

void GLRenderer::flush_batch() {
    if (batch_.empty())
        return;
    // The vertices are in clip coordinates already.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    const BatchVertex& first = batch_[0];
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(BatchVertex), &first.x);
    // Colours always come as an array, even when the whole batch has one: llvmpipe compiles
    // its vertex code for each layout it meets, and one layout fewer is a few milliseconds
    // less before the first frame, while the array costs nothing measurable per frame.
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, sizeof(BatchVertex), &first.r);
    if (batch_key_.textured) {
        use_texture(batch_key_.texture, batch_key_.environment);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, sizeof(BatchVertex), &first.u);
    }
    if (batch_key_.alpha_tested) {
        glAlphaFunc(GL_GREATER, 0.0f);
        glEnable(GL_ALPHA_TEST);
    }
    // One call per run between breaks.
    size_t start = 0;
    for (uint32_t end : batch_breaks_) {
        if (end > start)
            glDrawArrays(batch_key_.primitive, static_cast<GLint>(start),
                         static_cast<GLsizei>(end - start));
        start = end;
    }
    if (batch_.size() > start)
        glDrawArrays(batch_key_.primitive, static_cast<GLint>(start),
                     static_cast<GLsizei>(batch_.size() - start));
    if (batch_key_.alpha_tested)
        glDisable(GL_ALPHA_TEST);
    if (batch_key_.textured) {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisable(GL_TEXTURE_2D);
    }
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    batch_.clear();
    batch_breaks_.clear();
}
