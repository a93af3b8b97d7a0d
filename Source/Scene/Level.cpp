#include "Scene/Level.h"

#include "Render/Camera.h"
#include "Render/Renderer.h"

Level::~Level() {
    for (auto& layer : layers)
        layer.reset();
    layers.clear();
    camera_binder.reset();
    colliders.clear();
    segment_strips.clear();
}

void Level::update(float dt) {
    for (size_t i = 0; i < layers.size() && !retired_; ++i)
        layers[i]->update(dt, retired_);
}

void Level::draw(Renderer& renderer) {
    Camera* camera = renderer.camera();
    if (!camera)
        return;
    const Vector2 saved = camera->position;
    for (const auto& layer : layers) {
        camera->position = {layer->parallax.x * saved.x, layer->parallax.y * saved.y};
        camera->notify_moved();
        layer->draw(renderer, level_colour);
    }
    camera->position = saved;
    camera->notify_moved();
}

Layer* Level::layer_at(int32_t index) const {
    if (index < 0 || index >= layer_count())
        return nullptr;
    return layers[static_cast<size_t>(index)].get();
}

GameObject* Level::find_by_id(int32_t id) const {
    for (const auto& layer : layers)
        if (GameObject* object = layer->find_by_id(id))
            return object;
    return nullptr;
}

void Level::add_object(Layer& layer, std::unique_ptr<GameObject> object) {
    layer.add_object(std::move(object));
}
