#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Render/CameraListener.h"
#include "Render/Color.h"
#include "Render/RenderStates.h"
#include "Render/Transform.h"
#include "Render/Vector2.h"

class BitmapFont;
class Camera;
class LetterTable;
class Resource;
class Texture;
struct Image;

// Everything the engine draws goes through a renderer. Game objects never touch OpenGL; they
// call the draw operations with a transform, local geometry, a colour and maybe a texture.
// Every draw operation does nothing while no camera is attached.
class Renderer : public CameraListener {
  public:
    ~Renderer() override;

    virtual int32_t reserved_query() { return 0; }
    virtual int32_t get_width() = 0;
    virtual int32_t get_height() = 0;
    virtual bool is_current() = 0;
    virtual void make_current() = 0;
    virtual bool begin_frame() = 0;
    virtual void end_frame() = 0;
    virtual void clear_color_buffer() = 0;
    virtual void clear_depth_buffer() = 0;
    virtual void set_clear_color(const Color& color) = 0;
    virtual Color clear_color() const = 0;
    virtual void set_clear_depth(float depth) = 0;
    virtual void set_scissor(int32_t x, int32_t y, int32_t w, int32_t h) = 0;
    virtual void set_viewport(int32_t x, int32_t y, int32_t w, int32_t h) = 0;
    virtual bool is_valid_blend_state(const BlendState& state) = 0;
    virtual bool is_valid_cull_state(const CullState& state) = 0;
    virtual bool is_valid_depth_state(const DepthState& state) = 0;
    virtual bool is_valid_polygon_mode(const PolygonModeState& state) = 0;
    virtual void set_blend_state(const BlendState& state) = 0;
    virtual void set_cull_state(const CullState& state) = 0;
    virtual void set_depth_state(const DepthState& state) = 0;
    virtual void set_polygon_mode(const PolygonModeState& state) = 0;
    virtual void present() = 0;
    // corners and tex_coords hold four points each; texture may be null.
    virtual void draw_quad(const Transform& transform, const Vector2* corners, const Color& color,
                           const Texture* texture, const Vector2* tex_coords) = 0;
    virtual void draw_circle(const Transform& transform, Vector2 centre, float radius,
                             const Color& color) = 0;
    virtual void draw_polygon(const Transform& transform, const Vector2* points, int32_t count,
                              const Color& color) = 0;
    // a and b in world units.
    virtual void draw_line(Vector2 a, Vector2 b, const Color& color) = 0;
    virtual void update_texture_image(Texture& texture, const Image& image) = 0;
    // A new texture object's name, or 0.
    virtual uint32_t create_texture(Texture& texture) = 0;
    virtual void delete_texture(Texture& texture) = 0;

    // Bitmap text in window pixels with an uploaded system font; the letters and bubbles that
    // Scene's text objects place.
    // Makes the font current for draw_screen_text when it is uploaded here.
    virtual void set_screen_font(const BitmapFont& font) = 0;
    // x, y: pixels from the window's lower-left corner; nothing for a null text or without a
    // screen font.
    virtual void draw_screen_text(int32_t x, int32_t y, const Color& color, const char* text) = 0;
    // One line of letter-table letters under transform, the pen starting at (x, bottom) in local
    // units: letters height high, each its aspect x scale x height wide, letter_spacing x scale
    // apart; letters the table lacks are skipped. The colour is clamped to 0..1.
    virtual void draw_letters(const Transform& transform, const Color& colour,
                              const LetterTable& font, const std::string& line, float x,
                              float bottom, float height, float letter_spacing, float scale) = 0;
    // A speech bubble under transform: the inner rectangle (left, bottom)-(right, top) with its
    // corners rounded by radius outside it, and a tail of that size under the bottom edge with
    // its tip at tail_x. The colour is clamped to 0..1.
    virtual void draw_speech_bubble(const Transform& transform, const Color& colour, float left,
                                    float bottom, float right, float top, float radius,
                                    float tail_x) = 0;
    // The handle of the letters of a bitmap font (characters 32 to 127) made for this renderer,
    // or 0.
    virtual int32_t create_font_lists(BitmapFont& font) = 0;
    virtual void delete_font_lists(BitmapFont& font) = 0;

    // Attaches this renderer to the camera (detaching from the previous one) and takes its view
    // and projection at once.
    void set_camera(Camera* camera);
    Camera* camera() const { return camera_; }
    // Makes the GPU object for a resource once; false when it cannot be made.
    bool upload(Resource* resource);
    // Deletes the GPU object and forgets the pair on both sides.
    void release(Resource* resource);
    void release_all();
    const std::vector<Resource*>& resources() const { return resources_; }

  protected:
    Camera* camera_ = nullptr;
    std::vector<Resource*> resources_;
};
