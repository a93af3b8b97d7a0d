#pragma once

#include <cstdint>
#include <memory>

#include "Render/Image.h"
#include "Render/Resource.h"

// A picture the renderer can draw with. It keeps a CPU copy of its pixels for its whole life,
// to upload it to a renderer later and to replace it (set_image).
class Texture : public Resource {
  public:
    // Copies the image, or keeps none when it is null.
    Texture(const Image* image, int32_t wrap_s, int32_t wrap_t, int32_t environment);
    ~Texture() override;
    int32_t kind() const override { return texture; }

    const Image* image() const { return image_.get(); }
    // Copies the image, drops the previous copy and updates the pixels on every renderer that
    // holds this texture, in handle order.
    void set_image(const Image& image);

    int32_t filter = 0;       // 0 nearest, 1 linear
    int32_t wrap_s = 0;       // 0 clamp, 1 repeat
    int32_t wrap_t = 0;       // 0 clamp, 1 repeat
    int32_t environment = 0;  // 0 modulate, 1 decal

  private:
    std::unique_ptr<Image> image_;
};
