#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "Render/Matrix4.h"
#include "Render/Renderer.h"

class GLContext;
class LetterTable;
class Window;

// The OpenGL back end: immediate-mode OpenGL 1.1 on a context bound to the main window.
// When the window or its context cannot be had, construction stops early and every operation
// leaves OpenGL alone, so the program runs on without drawing.
class GLRenderer : public Renderer {
  public:
    // Takes the published main window; its client size is read once here.
    GLRenderer();
    ~GLRenderer() override;
    GLRenderer(const GLRenderer&) = delete;
    GLRenderer& operator=(const GLRenderer&) = delete;

    void camera_destroyed(Camera& camera) override;
    void camera_moved(Camera& camera) override;
    void camera_projection_changed(Camera& camera) override;

    int32_t get_width() override { return width_; }
    int32_t get_height() override { return height_; }
    bool is_current() override;
    void make_current() override;
    bool begin_frame() override { return true; }
    void end_frame() override {}
    void clear_color_buffer() override;
    void clear_depth_buffer() override;
    void set_clear_color(const Color& color) override;
    void set_clear_depth(float depth) override;
    void set_scissor(int32_t x, int32_t y, int32_t w, int32_t h) override;
    void set_viewport(int32_t x, int32_t y, int32_t w, int32_t h) override;
    bool is_valid_blend_state(const BlendState& state) override;
    bool is_valid_cull_state(const CullState& state) override;
    bool is_valid_depth_state(const DepthState& state) override;
    bool is_valid_polygon_mode(const PolygonModeState& state) override;
    void set_blend_state(const BlendState& state) override;
    void set_cull_state(const CullState& state) override;
    void set_depth_state(const DepthState& state) override;
    void set_polygon_mode(const PolygonModeState& state) override;
    void present() override;
    void draw_quad(const Transform& transform, const Vector2* corners, const Color& color,
                   const Texture* texture, const Vector2* tex_coords) override;
    void draw_circle(const Transform& transform, Vector2 centre, float radius,
                     const Color& color) override;
    void draw_polygon(const Transform& transform, const Vector2* points, int32_t count,
                      const Color& color) override;
    void draw_line(Vector2 a, Vector2 b, const Color& color) override;
    void update_texture_image(Texture& texture, const Image& image) override;
    uint32_t create_texture(Texture& texture) override;
    void delete_texture(Texture& texture) override;

    // False when construction stopped before a context was made current.
    bool has_context() const { return gl_context_ != nullptr; }
    const Matrix4& view_matrix() const { return view_matrix_; }
    // The texture name this renderer bound last, 0 for none.
    uint32_t bound_texture() const { return bound_texture_; }

    // Scale and rotation first, then translation.
    static Matrix4 model_matrix(const Transform& transform);
    // The inverse of the camera's placement: a world point p goes to R^T (p - position).
    static Matrix4 view_matrix_of(const Camera& camera);
    // The orthographic projection of the camera's view bounds (near -1, far 1).
    static Matrix4 projection_of(const Camera& camera);

    // Text: bitmap fonts, letter tables and speech bubbles.
    void set_screen_font(const BitmapFont& font) override;
    void draw_screen_text(int32_t x, int32_t y, const Color& color, const char* text) override;
    void draw_speech_bubble(const SpeechBubble& bubble, const Color& tint) override;
    void draw_multiline_text(const MultilineText& text, const Color& tint) override;
    void draw_text(const Text& text, const Color& tint) override;
    int32_t create_font_lists(BitmapFont& font) override;
    void delete_font_lists(BitmapFont& font) override;
    // The display-list base of the current screen font, 0 for none.
    int32_t screen_font() const { return screen_font_; }

  private:
    // Selects the model-view stack, pushes it and loads view x model.
    void push_model_view(const Transform& transform);
    static void upload_image(const Image& image);
    // One line of letter-table letters from the pen at (x, bottom), each a textured quad.
    void draw_letters(const std::string& line, const LetterTable& font, float x, float bottom,
                      float height, float letter_spacing, float scale);

    Window* window_ = nullptr;
    std::unique_ptr<GLContext> gl_context_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    Matrix4 view_matrix_;
    uint32_t bound_texture_ = 0;
    int32_t screen_font_ = 0;
    // The texture environment mode this renderer set last (OpenGL starts with modulate).
    int32_t texture_environment_ = 0x2100;  // GL_MODULATE
};
