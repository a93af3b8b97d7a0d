#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Render/Matrix4.h"
#include "Render/Renderer.h"

class GLContext;
class GlyphAtlas;
class LetterTable;
class Window;

// The OpenGL back end: OpenGL 1.1 on a context bound to the main window.
// When the window or its context cannot be had, construction stops early and every operation
// leaves OpenGL alone, so the program runs on without drawing.
//
// Draws are batched (GLRendererBatch.cpp, with its clipping rule): consecutive shapes that need
// the same texture, texture mode and primitive go to OpenGL in one glDrawArrays, with the pixels
// of drawing each on its own. The batch is sent before anything else touches OpenGL (state
// changes, clears, texture objects, the projection, present), so the draw order is kept. In
// feedback or selection mode every shape goes out at once. Letters go through the batch too.
//
// The class is defined over files named after its concerns: GLRenderer.cpp (context, camera,
// matrices), GLRendererState.cpp, GLRendererTextures.cpp, GLRendererBatch.cpp,
// GLRendererShapes.cpp, GLRendererFonts.cpp (bitmap fonts) and GLRendererText.cpp (letter tables
// and speech bubbles).
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
    void end_frame() override;
    void clear_color_buffer() override;
    void clear_depth_buffer() override;
    void set_clear_color(const Color& color) override;
    Color clear_color() const override { return clear_color_; }
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
    // Off: every draw goes to OpenGL on its own, with its own matrix, as glBegin/glEnd.
    void set_batching(bool on);
    bool batching() const { return batching_; }

    // Scale and rotation first, then translation.
    static Matrix4 model_matrix(const Transform& transform);
    // The inverse of the camera's placement: a world point p goes to R^T (p - position).
    static Matrix4 view_matrix_of(const Camera& camera);
    // The orthographic projection of the camera's view bounds (near -1, far 1).
    static Matrix4 projection_of(const Camera& camera);

    // Text: bitmap fonts, letter-table letters and speech bubbles.
    void set_screen_font(const BitmapFont& font) override;
    void draw_screen_text(int32_t x, int32_t y, const Color& color, const char* text) override;
    void draw_letters(const Transform& transform, const Color& colour, const LetterTable& font,
                      const std::string& line, float x, float bottom, float height,
                      float letter_spacing, float scale) override;
    void draw_speech_bubble(const Transform& transform, const Color& colour, float left,
                            float bottom, float right, float top, float radius,
                            float tail_x) override;
    // A bitmap font becomes a glyph atlas, a texture of its letters; its handle is the
    // texture's name.
    int32_t create_font_lists(BitmapFont& font) override;
    void delete_font_lists(BitmapFont& font) override;
    // The handle of the current screen font, 0 for none.
    int32_t screen_font() const { return screen_font_; }

  private:
    // One vertex of the batch, in view coordinates.
    struct BatchVertex {
        float x, y;
        float u, v;
        float r, g, b, a;
    };
    // What a run of vertices needs from OpenGL; consecutive draws with equal keys share a call.
    struct BatchKey {
        uint32_t primitive = 0;  // GL_QUADS, GL_LINES or GL_POLYGON
        bool textured = false;
        uint32_t texture = 0;     // the texture name, when textured
        int32_t environment = 0;  // GL_MODULATE or GL_DECAL, when textured
        // Fragments of alpha 0 are dropped: glyph texels without ink write nothing.
        bool alpha_tested = false;
        bool operator==(const BatchKey&) const = default;
    };
    // A 2D affine map: x' = a x + c y + e, y' = b x + d y + f.
    struct Affine {
        float a, b, c, d, e, f;
        void apply(float x, float y, BatchVertex& out) const;
    };
    // A bitmap font's letters, by texture name. An atlas larger than OpenGL takes has a name
    // but no picture: its letters are drawn by glBitmap.
    struct FontAtlas {
        uint32_t name;
        std::unique_ptr<GlyphAtlas> atlas;
        bool textured;
    };
    // Sends the pending batch to OpenGL. Every operation that touches OpenGL itself calls this
    // first, so that what was drawn before it reaches OpenGL before it.
    void flush_batch();
    // Starts or continues the batch for key and returns room for count vertices.
    BatchVertex* batch_append(const BatchKey& key, size_t count);
    // After a shape's count vertices were appended: applies the clipping rule, and sends the
    // batch at once when OpenGL is not rendering (feedback and selection modes report each
    // primitive as it is drawn).
    void batch_drawn(size_t count);
    // Gives count vertices just appended their colour, noting whether the batch stays of one.
    void set_colour(BatchVertex* v, size_t count, const Color& c);
    // Makes the vertices from at onwards go in a new glDrawArrays call.
    void break_batch_at(size_t at);
    // Local points to clip coordinates: projection x view x model, folded with the same
    // products OpenGL makes of the loaded matrices.
    Affine clip_affine(const Matrix4& model_view) const;
    Affine clip_affine(const Transform& transform) const;
    BatchKey texture_key(const Texture& texture);
    // Binds a texture name with its environment mode (each sent only when it changes) and
    // turns texturing on.
    void use_texture(uint32_t name, int32_t environment);

    // Selects the model-view stack, pushes it and loads view x model.
    void push_model_view(const Transform& transform);
    static void upload_image(const Image& image);
    // The immediate-mode draws, one glBegin/glEnd each.
    void draw_quad_now(const Transform& transform, const Vector2* corners, const Color& color,
                       const Texture* texture, const Vector2* tex_coords);
    void draw_circle_now(const Transform& transform, Vector2 centre, float radius,
                         const Color& color);
    void draw_polygon_now(const Transform& transform, const Vector2* points, int32_t count,
                          const Color& color);
    void draw_line_now(Vector2 a, Vector2 b, const Color& color);
    // One line of letter-table letters from the pen at (x, bottom), each a textured quad: into
    // the batch under the map m, or on their own under the loaded model-view.
    void batch_letters(const Affine& m, const Color& color, const std::string& line,
                       const LetterTable& font, float x, float bottom, float height,
                       float letter_spacing, float scale);
    void draw_letters_now(const std::string& line, const LetterTable& font, float x, float bottom,
                          float height, float letter_spacing, float scale);
    // Whether glyph quads set exactly the pixels glBitmap would with this colour and state.
    bool glyph_quads_match_bitmaps(const Color& color);
    // Screen text as glBitmap draws it, one call per letter.
    void draw_screen_text_now(const GlyphAtlas& atlas, int32_t x, int32_t y, const Color& color,
                              const char* text);
    const FontAtlas* atlas_of(int32_t handle) const;
    // Texts and bubbles never draw brighter or more opaque than full.
    static Color clamped(const Color& c);

    Window* window_ = nullptr;
    std::unique_ptr<GLContext> gl_context_;
    Color clear_color_{0, 0, 0, 0};
    int32_t width_ = 0;
    int32_t height_ = 0;
    Matrix4 view_matrix_;
    Matrix4 projection_;
    uint32_t bound_texture_ = 0;
    int32_t screen_font_ = 0;
    // The glyph atlases of the bitmap fonts uploaded here.
    std::vector<FontAtlas> atlases_;
    // Whether the viewport is the whole window, as OpenGL first sets it.
    bool whole_window_viewport_ = true;
    // The texture environment mode this renderer set last (OpenGL starts with modulate).
    int32_t texture_environment_ = 0x2100;  // GL_MODULATE

    bool batching_ = true;
    // Whether the batch must go out after each draw; asked of OpenGL when a batch starts.
    bool send_each_draw_ = false;
    BatchKey batch_key_;
    // Grows to the largest frame and keeps its capacity, so frames allocate nothing.
    std::vector<BatchVertex> batch_;
    // Where the batch's calls after the first start, in vertices; kept like batch_.
    std::vector<uint32_t> batch_breaks_;
    // The states last set, to skip sending the batch when a layer sets the state it has.
    BlendState blend_;
    CullState cull_;
    DepthState depth_;
    PolygonModeState polygon_mode_;
};
