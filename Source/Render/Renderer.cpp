#include "Render/Renderer.h"

#include <algorithm>

#include "Render/BitmapFont.h"
#include "Render/Camera.h"
#include "Render/Resource.h"
#include "Render/Texture.h"

Renderer::~Renderer() {
    if (camera_)
        camera_->detach(this);
}

void Renderer::set_camera(Camera* camera) {
    if (camera == camera_)
        return;
    if (camera_)
        camera_->detach(this);
    camera_ = camera;
    if (!camera_)
        return;
    camera_->attach(this);
    camera_moved(*camera_);
    camera_projection_changed(*camera_);
}

bool Renderer::upload(Resource* resource) {
    if (!resource)
        return false;
    if (resource->handle_for(this) != 0)
        return true;
    int32_t handle = 0;
    switch (resource->kind()) {
        case Resource::bitmap_font:
            handle = create_font_lists(static_cast<BitmapFont&>(*resource));
            break;
        case Resource::texture:
            handle = static_cast<int32_t>(create_texture(static_cast<Texture&>(*resource)));
            break;
        default:
            return false;
    }
    if (handle == 0)
        return false;
    resources_.push_back(resource);
    resource->handles_.push_back({this, handle});
    return true;
}

void Renderer::release(Resource* resource) {
    if (!resource || resource->handle_for(this) == 0)
        return;
    switch (resource->kind()) {
        case Resource::bitmap_font:
            delete_font_lists(static_cast<BitmapFont&>(*resource));
            break;
        case Resource::texture:
            delete_texture(static_cast<Texture&>(*resource));
            break;
        default:
            return;
    }
    auto& handles = resource->handles_;
    handles.erase(
        std::find_if(handles.begin(), handles.end(),
                     [this](const Resource::RendererHandle& h) { return h.renderer == this; }));
    auto it = std::find(resources_.begin(), resources_.end(), resource);
    if (it != resources_.end())
        resources_.erase(it);
}

void Renderer::release_all() {
    while (!resources_.empty()) {
        size_t before = resources_.size();
        release(resources_.back());
        if (resources_.size() == before)
            resources_.pop_back();
    }
}
