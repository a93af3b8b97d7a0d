#include "Render/Resource.h"

#include "Render/Renderer.h"

void Resource::release_everywhere() {
    // release() removes the pair, so take the front until none is left.
    while (!handles_.empty()) {
        Renderer* renderer = handles_.front().renderer;
        size_t before = handles_.size();
        renderer->release(this);
        if (handles_.size() == before)
            handles_.erase(handles_.begin());
    }
}

int32_t Resource::handle_for(const Renderer* renderer) const {
    for (const RendererHandle& h : handles_)
        if (h.renderer == renderer)
            return h.handle;
    return 0;
}
