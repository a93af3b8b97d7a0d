#pragma once

#include <cstdint>
#include <vector>

class Renderer;

// Something a renderer makes GPU objects for (textures, bitmap fonts). Each resource keeps the
// handle it got from each renderer; whichever of the two is destroyed first releases the pair.
class Resource {
  public:
    // What creates and deletes the handle: a bitmap font's letters, a texture object, or
    // nothing (a font map cannot be uploaded).
    enum Kind : int32_t { bitmap_font = 0, texture = 1, font_map = 2 };

    struct RendererHandle {
        Renderer* renderer;
        int32_t handle;
    };

    Resource() = default;
    Resource(const Resource&) = delete;
    Resource& operator=(const Resource&) = delete;
    virtual ~Resource() = default;
    virtual int32_t kind() const = 0;

    // The handle from this renderer, 0 when there is none.
    int32_t handle_for(const Renderer* renderer) const;
    const std::vector<RendererHandle>& handles() const { return handles_; }

  protected:
    // Releases the resource from every renderer holding it, in list order. Every derived
    // class calls it first in its destructor, while kind() still answers for the full object.
    void release_everywhere();

  private:
    friend class Renderer;  // the renderer adds and removes its pair in upload and release
    std::vector<RendererHandle> handles_;
};
