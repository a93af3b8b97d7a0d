#include "Render/GLRenderer.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "Platform/GLContext.h"
#include "Platform/SystemFont.h"
#include "Platform/Window.h"
#include "Render/BitmapFont.h"
#include "Render/Camera.h"
#include "Render/GlyphAtlas.h"
#include "Render/Image.h"
#include "Render/LetterTable.h"
#include "Render/Texture.h"
#include "Scene/MultilineText.h"
#include "Scene/SpeechBubble.h"
#include "Scene/Text.h"

namespace {

// Indexed by the engine's factor number; 10 to 13 are never accepted.
constexpr GLenum blend_factors[15] = {GL_ZERO,
                                      GL_ONE,
                                      GL_SRC_COLOR,
                                      GL_ONE_MINUS_SRC_COLOR,
                                      GL_DST_COLOR,
                                      GL_ONE_MINUS_DST_COLOR,
                                      GL_SRC_ALPHA,
                                      GL_ONE_MINUS_SRC_ALPHA,
                                      GL_DST_ALPHA,
                                      GL_ONE_MINUS_DST_ALPHA,
                                      GL_ZERO,
                                      GL_ZERO,
                                      GL_ZERO,
                                      GL_ZERO,
                                      GL_SRC_ALPHA_SATURATE};

bool allowed_as_source(BlendFactor f) {
    return f == 0 || f == 1 || (f >= 4 && f <= 9) || f == 14;
}

bool allowed_as_destination(BlendFactor f) {
    return (f >= 0 && f <= 3) || (f >= 6 && f <= 9);
}

// Note the order: 2 is less-or-equal and 3 is equal.
constexpr GLenum depth_functions[8] = {GL_NEVER,   GL_LESS,     GL_LEQUAL, GL_EQUAL,
                                       GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};

constexpr GLenum polygon_modes[3] = {GL_POINT, GL_LINE, GL_FILL};

bool zero_or_one(int32_t v) {
    return v == 0 || v == 1;
}

// Whether two states draw alike: the factors of a disabled blend state do not matter.
bool same_blend(const BlendState& a, const BlendState& b) {
    return a.enabled == b.enabled &&
           (!a.enabled || (a.src_color == b.src_color && a.dst_color == b.dst_color));
}

bool same_cull(const CullState& a, const CullState& b) {
    return a.enabled == b.enabled && a.front_face == b.front_face && a.cull_face == b.cull_face;
}

bool same_depth(const DepthState& a, const DepthState& b) {
    return a.test_enabled == b.test_enabled && a.write_enabled == b.write_enabled &&
           a.func == b.func;
}

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

// Texts and bubbles never draw brighter or more opaque than full.
Color clamped(const Color& c) {
    return {std::clamp(c.r, 0.0f, 1.0f), std::clamp(c.g, 0.0f, 1.0f), std::clamp(c.b, 0.0f, 1.0f),
            std::clamp(c.a, 0.0f, 1.0f)};
}

}  // namespace

GLRenderer::GLRenderer() {
    // Each early return leaves a renderer without a context whose operations touch nothing.
    window_ = Window::main();
    if (!window_)
        return;
    window_->client_size(width_, height_);
    gl_context_ = GLContext::create(*window_);
    if (!gl_context_)
        return;
    circle_table();

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    set_clear_color({0.0f, 0.0f, 0.0f, 0.0f});
    set_clear_depth(1.0f);
    // Covers the window, so the scissor test ends disabled.
    set_scissor(0, 0, width_, height_);

    set_blend_state(BlendState::alpha());
    set_cull_state({true, 0, 0});
    set_depth_state({true, true, 1});
    set_polygon_mode({2, 2});

    glClear(GL_COLOR_BUFFER_BIT);
    glClear(GL_DEPTH_BUFFER_BIT);
}

GLRenderer::~GLRenderer() {
    // The texture objects live in this context, so it must be current while they are deleted;
    // whatever was current before comes back afterwards.
    GLContext::Binding saved;
    bool switched = false;
    if (gl_context_ && !gl_context_->is_current()) {
        saved = GLContext::current_binding();
        switched = gl_context_->make_current();
    }
    // Nothing pending is presented any more.
    batch_.clear();
    batch_breaks_.clear();
    release_all();
    gl_context_.reset();
    if (switched)
        GLContext::restore(saved);
}

void GLRenderer::camera_destroyed(Camera& camera) {
    if (&camera != camera_)
        return;
    camera.detach(this);
    camera_ = nullptr;
}

void GLRenderer::camera_moved(Camera& camera) {
    if (&camera == camera_)
        view_matrix_ = view_matrix_of(camera);
}

void GLRenderer::camera_projection_changed(Camera& camera) {
    if (&camera != camera_ || !gl_context_)
        return;
    flush_batch();
    const Matrix4 projection = projection_of(camera);
    projection_ = projection;
    // The projection belongs to this renderer's context even when another one is current.
    const bool was_current = gl_context_->is_current();
    GLContext::Binding saved;
    if (!was_current) {
        saved = GLContext::current_binding();
        if (!gl_context_->make_current())
            return;
    }
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection.data());
    glMatrixMode(GL_MODELVIEW);
    if (!was_current)
        GLContext::restore(saved);
}

bool GLRenderer::is_current() {
    return gl_context_ && gl_context_->is_current();
}

void GLRenderer::make_current() {
    if (gl_context_ && !gl_context_->is_current()) {
        // What was drawn goes to the context it was drawn in.
        flush_batch();
        gl_context_->make_current();
    }
}

void GLRenderer::end_frame() {
    flush_batch();
}

void GLRenderer::clear_color_buffer() {
    if (!gl_context_)
        return;
    flush_batch();
    glClear(GL_COLOR_BUFFER_BIT);
}

void GLRenderer::clear_depth_buffer() {
    if (!gl_context_)
        return;
    flush_batch();
    glClear(GL_DEPTH_BUFFER_BIT);
}

void GLRenderer::set_clear_color(const Color& color) {
    if (!gl_context_)
        return;
    flush_batch();
    glClearColor(color.r, color.g, color.b, color.a);
}

void GLRenderer::set_clear_depth(float depth) {
    if (!gl_context_)
        return;
    flush_batch();
    glClearDepth(std::clamp(depth, 0.0f, 1.0f));
}

void GLRenderer::set_scissor(int32_t x, int32_t y, int32_t w, int32_t h) {
    if (!gl_context_)
        return;
    flush_batch();
    // 64-bit so that no sum of script-sized numbers overflows.
    int64_t bx = x, by = y, bw = w, bh = h;
    if (bx < 0) {
        bw += bx;
        bx = 0;
    }
    if (by < 0) {
        bh += by;
        by = 0;
    }
    if (bx + bw > width_)
        bw = width_ - bx;
    if (by + bh > height_)
        bh = height_ - by;
    // A box wholly outside the window is empty rather than of negative size, which OpenGL
    // would refuse and leave the previous box in force.
    bw = std::max<int64_t>(bw, 0);
    bh = std::max<int64_t>(bh, 0);
    if (bx == 0 && by == 0 && bw == width_ && bh == height_)
        glDisable(GL_SCISSOR_TEST);
    else
        glEnable(GL_SCISSOR_TEST);
    glScissor(static_cast<GLint>(bx), static_cast<GLint>(by), static_cast<GLsizei>(bw),
              static_cast<GLsizei>(bh));
}

void GLRenderer::set_viewport(int32_t x, int32_t y, int32_t w, int32_t h) {
    if (!gl_context_ || w < 0 || h < 0)
        return;
    flush_batch();
    glViewport(x, y, w, h);
    whole_window_viewport_ = x == 0 && y == 0 && w == width_ && h == height_;
}

bool GLRenderer::is_valid_blend_state(const BlendState& state) {
    if (!state.enabled)
        return true;
    return state.color_selector == 0 && state.alpha_selector == 0 &&
           state.src_alpha == state.src_color && state.dst_alpha == state.dst_color &&
           allowed_as_source(state.src_color) && allowed_as_destination(state.dst_color);
}

bool GLRenderer::is_valid_cull_state(const CullState& state) {
    return static_cast<uint32_t>(state.front_face) <= 1 &&
           static_cast<uint32_t>(state.cull_face) < 2;
}

bool GLRenderer::is_valid_depth_state(const DepthState& state) {
    return state.func < 8;
}

bool GLRenderer::is_valid_polygon_mode(const PolygonModeState& state) {
    return static_cast<uint32_t>(state.back) <= 2 && static_cast<uint32_t>(state.front) < 3;
}

void GLRenderer::set_blend_state(const BlendState& state) {
    if (!gl_context_ || !is_valid_blend_state(state))
        return;
    if (!same_blend(state, blend_))
        flush_batch();
    blend_ = state;
    if (!state.enabled) {
        glDisable(GL_BLEND);
        return;
    }
    glEnable(GL_BLEND);
    glBlendFunc(blend_factors[state.src_color], blend_factors[state.dst_color]);
}

void GLRenderer::set_cull_state(const CullState& state) {
    if (!gl_context_ || !is_valid_cull_state(state))
        return;
    if (!same_cull(state, cull_))
        flush_batch();
    cull_ = state;
    if (state.enabled)
        glEnable(GL_CULL_FACE);
    else
        glDisable(GL_CULL_FACE);
    glFrontFace(state.front_face == 0 ? GL_CCW : GL_CW);
    glCullFace(state.cull_face == 0 ? GL_BACK : GL_FRONT);
}

void GLRenderer::set_depth_state(const DepthState& state) {
    if (!gl_context_ || !is_valid_depth_state(state))
        return;
    if (!same_depth(state, depth_))
        flush_batch();
    depth_ = state;
    if (state.test_enabled)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
    glDepthMask(state.write_enabled ? GL_TRUE : GL_FALSE);
    glDepthFunc(depth_functions[state.func]);
}

void GLRenderer::set_polygon_mode(const PolygonModeState& state) {
    if (!gl_context_ || !is_valid_polygon_mode(state))
        return;
    if (state.back != polygon_mode_.back || state.front != polygon_mode_.front)
        flush_batch();
    polygon_mode_ = state;
    glPolygonMode(GL_BACK, polygon_modes[state.back]);
    glPolygonMode(GL_FRONT, polygon_modes[state.front]);
}

void GLRenderer::present() {
    if (!gl_context_)
        return;
    flush_batch();
    gl_context_->swap();
}

void GLRenderer::set_batching(bool on) {
    flush_batch();
    batching_ = on;
}

Matrix4 GLRenderer::model_matrix(const Transform& t) {
    Matrix4 m;  // identity
    m[0] = t.scale * t.axis_x.x;
    m[1] = t.scale * t.axis_x.y;
    m[4] = t.scale * t.axis_y.x;
    m[5] = t.scale * t.axis_y.y;
    m[12] = t.position.x;
    m[13] = t.position.y;
    return m;
}

Matrix4 GLRenderer::view_matrix_of(const Camera& camera) {
    const float ax = camera.axis_x.x, ay = camera.axis_x.y;
    const float bx = camera.axis_y.x, by = camera.axis_y.y;
    const float cx = camera.position.x, cy = camera.position.y;
    Matrix4 m;  // identity
    m[0] = ax;
    m[1] = bx;
    m[4] = ay;
    m[5] = by;
    m[12] = -(ax * cx + ay * cy);
    m[13] = -(bx * cx + by * cy);
    return m;
}

Matrix4 GLRenderer::projection_of(const Camera& camera) {
    const float l = camera.left, r = camera.right, b = camera.bottom, t = camera.top;
    Matrix4 m;  // identity
    m[0] = 2.0f / (r - l);
    m[5] = 2.0f / (t - b);
    m[10] = -1.0f;
    m[12] = -(r + l) / (r - l);
    m[13] = -(t + b) / (t - b);
    return m;
}

void GLRenderer::push_model_view(const Transform& transform) {
    const Matrix4 model_view = view_matrix_ * model_matrix(transform);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixf(model_view.data());
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

void GLRenderer::use_texture(uint32_t name, int32_t environment) {
    if (name != bound_texture_) {
        glBindTexture(GL_TEXTURE_2D, name);
        bound_texture_ = name;
    }
    if (environment != texture_environment_) {
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, environment);
        texture_environment_ = environment;
    }
    glEnable(GL_TEXTURE_2D);
}

GLRenderer::BatchKey GLRenderer::texture_key(const Texture& texture) {
    BatchKey key;
    key.primitive = GL_QUADS;
    key.textured = true;
    // A texture never uploaded here has handle 0 and draws in the plain colour.
    key.texture = static_cast<uint32_t>(texture.handle_for(this));
    // The environment is state of the texture unit, not of the texture object: each texture
    // brings its own, or the last one made would apply to all of them.
    key.environment = texture.environment == 1 ? GL_DECAL : GL_MODULATE;
    return key;
}

GLRenderer::BatchVertex* GLRenderer::batch_append(const BatchKey& key, size_t count) {
    if (!batch_.empty() && !(key == batch_key_))
        flush_batch();
    if (batch_.empty()) {
        batch_key_ = key;
        batch_one_color_ = true;
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
    // A shape that reaches the edge of the view is clipped by OpenGL, and Mesa then takes every
    // vertex of that call through its clipping path, where the window coordinates come out
    // rounded otherwise than when nothing is clipped. Texture coordinates follow those last bits,
    // so the shapes beside it would sample other texels than when drawn on their own. Such a
    // shape, and every polygon, goes in a call of its own.
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

namespace {

template <class Vertex>
void set_colour(Vertex* v, size_t count, const Color& c, const Vertex& first, bool& one_colour) {
    for (size_t i = 0; i < count; ++i) {
        v[i].r = c.r;
        v[i].g = c.g;
        v[i].b = c.b;
        v[i].a = c.a;
    }
    if (one_colour)
        one_colour = first.r == c.r && first.g == c.g && first.b == c.b && first.a == c.a;
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
    set_colour(v, 4, color, batch_[0], batch_one_color_);
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
    set_colour(v, static_cast<size_t>(table.count), color, batch_[0], batch_one_color_);
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
    set_colour(v, static_cast<size_t>(count), color, batch_[0], batch_one_color_);
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
    set_colour(v, 2, color, batch_[0], batch_one_color_);
    batch_drawn(2);
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
    if (batch_one_color_) {
        glColor4f(first.r, first.g, first.b, first.a);
    } else {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_FLOAT, sizeof(BatchVertex), &first.r);
    }
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
    if (!batch_one_color_)
        glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    batch_.clear();
    batch_breaks_.clear();
}

void GLRenderer::upload_image(const Image& image) {
    // Pixels short of width x height x 4 bytes would be read past their end: such an image
    // leaves the texture object as it was.
    if (image.width < 0 || image.height < 0 ||
        image.pixels.size() < static_cast<size_t>(image.width) * image.height * 4)
        return;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 image.pixels.data());
}

uint32_t GLRenderer::create_texture(Texture& texture) {
    if (!zero_or_one(texture.filter) || !zero_or_one(texture.wrap_s) ||
        !zero_or_one(texture.wrap_t) || !zero_or_one(texture.environment))
        return 0;
    if (!gl_context_)
        return 0;
    flush_batch();
    const GLint filter = texture.filter == 0 ? GL_NEAREST : GL_LINEAR;
    const GLint wrap_s = texture.wrap_s == 0 ? GL_CLAMP : GL_REPEAT;
    const GLint wrap_t = texture.wrap_t == 0 ? GL_CLAMP : GL_REPEAT;
    const GLint environment = texture.environment == 0 ? GL_MODULATE : GL_DECAL;

    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    bound_texture_ = name;
    if (texture.image())
        upload_image(*texture.image());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap_s);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap_t);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, environment);
    texture_environment_ = environment;
    return name;
}

void GLRenderer::update_texture_image(Texture& texture, const Image& image) {
    const GLuint name = static_cast<GLuint>(texture.handle_for(this));
    if (!gl_context_ || name == 0)
        return;
    flush_batch();
    // The binding is put back afterwards, so the bound-texture cache stays true.
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    const bool rebind = static_cast<GLuint>(previous) != name;
    if (rebind)
        glBindTexture(GL_TEXTURE_2D, name);
    upload_image(image);
    if (rebind)
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
}

void GLRenderer::delete_texture(Texture& texture) {
    const GLuint name = static_cast<GLuint>(texture.handle_for(this));
    // Quads still waiting for this texture are drawn with it first.
    if (gl_context_ && name != 0)
        flush_batch();
    if (name == bound_texture_)
        bound_texture_ = 0;
    if (gl_context_ && name != 0)
        glDeleteTextures(1, &name);
}

// ------------------------------------------------------------------------------------------
// Text. Each operation sets the state it draws with itself and leaves texturing off.

void GLRenderer::set_screen_font(const BitmapFont& font) {
    const int32_t handle = font.handle_for(this);
    if (handle != 0)
        screen_font_ = handle;
}

const GLRenderer::FontAtlas* GLRenderer::atlas_of(int32_t handle) const {
    for (const FontAtlas& a : atlases_)
        if (static_cast<int32_t>(a.name) == handle)
            return &a;
    return nullptr;
}

bool GLRenderer::glyph_quads_match_bitmaps(const Color& color) {
    // Bitmaps are neither culled, nor drawn as outlines, nor cut at the viewport's edge, and
    // feedback reports them as bitmaps.
    if (cull_.enabled || polygon_mode_.front != 2 || polygon_mode_.back != 2 ||
        !whole_window_viewport_)
        return false;
    GLint mode = GL_RENDER;
    glGetIntegerv(GL_RENDER_MODE, &mode);
    if (mode != GL_RENDER)
        return false;
    // The alpha test that drops the texels without ink drops letters of no alpha too, which
    // glBitmap writes: the same only when blending makes such fragments change nothing.
    const bool clear_writes_nothing =
        blend_.enabled && blend_.src_color == 6 && (blend_.dst_color == 7 || blend_.dst_color == 1);
    return color.a >= 1.0f / 255.0f || clear_writes_nothing;
}

void GLRenderer::draw_screen_text(int32_t x, int32_t y, const Color& color, const char* text) {
    if (!gl_context_ || !text || screen_font_ == 0)
        return;
    const FontAtlas* font = atlas_of(screen_font_);
    if (!font)
        return;
    const GlyphAtlas* atlas = font->atlas.get();
    const Color c = clamped(color);
    if (!batching_ || !font->textured || !glyph_quads_match_bitmaps(c)) {
        draw_screen_text_now(*atlas, x, y, color, text);
        return;
    }
    BatchKey key;
    key.primitive = GL_QUADS;
    key.textured = true;
    key.texture = static_cast<uint32_t>(screen_font_);
    key.environment = GL_MODULATE;
    key.alpha_tested = true;
    // Window pixels to clip coordinates; the raster position starts at the window's lower-left
    // corner and moves by float steps, as OpenGL keeps it.
    const float sx = 2.0f / static_cast<float>(width_), sy = 2.0f / static_cast<float>(height_);
    const float tu = 1.0f / static_cast<float>(atlas->width());
    const float tv = 1.0f / static_cast<float>(atlas->height());
    float pen_x = static_cast<float>(x), pen_y = static_cast<float>(y);
    for (const char* p = text; *p; ++p) {
        const GlyphAtlas::Glyph* g = atlas->glyph(static_cast<unsigned char>(*p));
        if (!g)
            continue;
        if (g->width > 0 && g->height > 0) {
            // glBitmap's lower-left pixel, truncated as OpenGL does.
            const float left = std::floor(pen_x + 0.0001f - g->x_origin);
            const float bottom = std::floor(pen_y + 0.0001f - g->y_origin);
            const float x0 = left * sx - 1.0f, x1 = (left + g->width) * sx - 1.0f;
            const float y0 = bottom * sy - 1.0f, y1 = (bottom + g->height) * sy - 1.0f;
            const float u0 = g->x * tu, u1 = (g->x + g->width) * tu;
            const float v0 = g->y * tv, v1 = (g->y + g->height) * tv;
            BatchVertex* v = batch_append(key, 4);
            v[0].x = v[3].x = x0;
            v[1].x = v[2].x = x1;
            v[0].y = v[1].y = y0;
            v[2].y = v[3].y = y1;
            v[0].u = v[3].u = u0;
            v[1].u = v[2].u = u1;
            v[0].v = v[1].v = v0;
            v[2].v = v[3].v = v1;
            set_colour(v, 4, c, batch_[0], batch_one_color_);
            batch_drawn(4);
        }
        pen_x += g->x_move;
    }
}

void GLRenderer::draw_screen_text_now(const GlyphAtlas& atlas, int32_t x, int32_t y,
                                      const Color& color, const char* text) {
    flush_batch();
    // Both matrices identity: the raster position (-1, -1) is the window's lower-left corner.
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glColor4fv(color.data());
    glRasterPos2f(-1.0f, -1.0f);
    // An empty bitmap that only moves the raster position by (x, y) pixels.
    glBitmap(0, 0, 0.0f, 0.0f, static_cast<GLfloat>(x), static_cast<GLfloat>(y), nullptr);
    // The glyph rows are packed to whole bytes.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (const char* p = text; *p; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (!atlas.glyph(c))
            continue;  // only the characters 32 to 127 have letters
        const GlyphBitmap& g = atlas.bitmap(c);
        glBitmap(g.width, g.height, g.x_origin, g.y_origin, g.x_move, 0.0f,
                 g.bits.empty() ? nullptr : g.bits.data());
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

int32_t GLRenderer::create_font_lists(BitmapFont& font) {
    if (!gl_context_)
        return 0;
    flush_batch();
    auto glyphs = SystemFont::render(font.face, font.height, font.bold, font.italic);
    if (!glyphs)
        return 0;
    auto atlas = std::make_unique<GlyphAtlas>(std::move(glyphs));
    GLuint name = 0;
    glGenTextures(1, &name);
    if (name == 0)
        return 0;
    glBindTexture(GL_TEXTURE_2D, name);
    bound_texture_ = name;
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    const bool textured = atlas->width() <= largest && atlas->height() <= largest;
    if (textured) {
        GLint alignment = 4;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        // Coverage in alpha: modulated, the letter keeps the text colour and its alpha.
        glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, atlas->width(), atlas->height(), 0, GL_ALPHA,
                     GL_UNSIGNED_BYTE, atlas->coverage().data());
        glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    atlases_.push_back({name, std::move(atlas), textured});
    return static_cast<int32_t>(name);
}

void GLRenderer::delete_font_lists(BitmapFont& font) {
    const int32_t handle = font.handle_for(this);
    if (handle == screen_font_)
        screen_font_ = 0;
    if (handle == 0)
        return;
    const auto name = static_cast<GLuint>(handle);
    if (gl_context_) {
        // Letters still waiting for the atlas are drawn with it first.
        flush_batch();
        glDeleteTextures(1, &name);
    }
    if (name == bound_texture_)
        bound_texture_ = 0;
    std::erase_if(atlases_, [&](const FontAtlas& a) { return a.name == name; });
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
                        set_colour(v, 4, color, batch_[0], batch_one_color_);
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
