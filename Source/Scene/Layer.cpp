#include "Scene/Layer.h"

#include <algorithm>

#include "Core/WalkGuard.h"
#include "Render/Renderer.h"

Layer::~Layer() {
    // Destroy in list order; held objects simply leave.
    for (Entry& e : objects_)
        e.owned.reset();
}

void Layer::update(float dt, const bool& stop_walk) {
    if (frozen)
        return;
    ++walking_;
    // Indices, not iterators: scripts run from an update may append objects.
    for (size_t i = 0; i < objects_.size() && !stop_walk; ++i) {
        GameObject* object = objects_[i].get();
        if (!object)
            continue;
        if (!object->update(dt))
            continue;
        // The object has finished its own update, so nothing on the stack is still using it:
        // it dies now, before the next object is updated.
        std::unique_ptr<GameObject> finished = std::move(objects_[i].owned);
        remove_entries_of(object);
        finished.reset();
    }
    if (--walking_ == 0)
        compact();
}

void Layer::draw(Renderer& renderer, const Color& level_colour) {
    if (!visible)
        return;
    renderer.set_blend_state(blend);
    const Color tint = level_colour * colour;
    for (const Entry& e : objects_)
        if (GameObject* object = e.get())
            object->draw(renderer, tint);
}

void Layer::add_object(std::unique_ptr<GameObject> object) {
    if (object)
        objects_.push_back({std::move(object), {}});
}

void Layer::hold_object(GameObject* object) {
    if (object)
        objects_.push_back({nullptr, Ref<GameObject>(object)});
}

GameObject* Layer::find_by_id(int32_t id) const {
    for (const Entry& e : objects_)
        if (e.owned && e.owned->id == id)
            return e.owned.get();
    return nullptr;
}

bool Layer::remove_by_id(int32_t id) {
    GameObject* object = find_by_id(id);
    if (!object)
        return false;
    remove_entries_of(object);
    return true;
}

void Layer::remove_entries_of(GameObject* object) {
    std::unique_ptr<GameObject> doomed;
    for (Entry& e : objects_) {
        if (e.get() != object)
            continue;
        // While the layer is walked, the entry stays as an empty slot until the walk ends.
        if (e.owned)
            doomed = std::move(e.owned);
        e.held.reset();
    }
    if (walking_ == 0)
        compact();
    // Destroyed once the list is consistent again, and not before the outermost walk is over.
    WalkGuard::dispose(std::move(doomed));
}

void Layer::compact() {
    objects_.erase(std::remove_if(objects_.begin(), objects_.end(),
                                  [](const Entry& e) { return !e.owned && !e.held; }),
                   objects_.end());
}
