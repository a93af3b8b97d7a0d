// Texture objects and the texture unit: which name is bound and with which environment.

#include "Render/GLRenderer.h"

#include <GL/gl.h>

#include "Render/Image.h"
#include "Render/Texture.h"

namespace {

bool zero_or_one(int32_t v) {
    return v == 0 || v == 1;
}

}  // namespace

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
