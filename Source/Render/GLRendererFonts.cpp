// Bitmap fonts: a glyph atlas per font, and screen text in window pixels, through the batch as
// glyph quads where those set the very pixels glBitmap would, else by glBitmap.

#include "Render/GLRenderer.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "Platform/SystemFont.h"
#include "Render/BitmapFont.h"
#include "Render/GlyphAtlas.h"

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
            set_colour(v, 4, c);
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
