#include "Render/Texture.h"

#include "Render/Renderer.h"

Texture::Texture(const Image* image, int32_t wrap_s_, int32_t wrap_t_, int32_t environment_)
    : wrap_s(wrap_s_), wrap_t(wrap_t_), environment(environment_) {
    if (image)
        image_ = std::make_unique<Image>(*image);
}

Texture::~Texture() {
    release_everywhere();
}

void Texture::set_image(const Image& image) {
    image_ = std::make_unique<Image>(image);
    for (const RendererHandle& h : handles())
        h.renderer->update_texture_image(*this, *image_);
}
