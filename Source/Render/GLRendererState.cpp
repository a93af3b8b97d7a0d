// Clears, scissor, viewport and the render states. A change that draws differently sends the
// pending batch first.

#include "Render/GLRenderer.h"

#include <GL/gl.h>

#include <algorithm>

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

}  // namespace

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
    clear_color_ = color;
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
