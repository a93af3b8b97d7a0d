#include "Render/GLRenderer.h"

#include <GL/gl.h>

#include "Platform/GLContext.h"
#include "Platform/Window.h"
#include "Render/Camera.h"
#include "Render/GlyphAtlas.h"

GLRenderer::GLRenderer() {
    // Each early return leaves a renderer without a context whose operations touch nothing.
    window_ = Window::main();
    if (!window_)
        return;
    window_->client_size(width_, height_);
    gl_context_ = GLContext::create(*window_);
    if (!gl_context_)
        return;

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
