#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "Core/Tracked.h"
#include "Render/Color.h"
#include "Render/RenderStates.h"
#include "Render/Vector2.h"
#include "Scene/GameObject.h"

class Renderer;

// An ordered list of game objects drawn with one blend state, tint and parallax. The layer owns
// its objects, except the ones it only holds (the player), which outlive it.
class Layer : public Tracked {
  public:
    Layer(Vector2 parallax, const BlendState& blend) : parallax(parallax), blend(blend) {}
    ~Layer();

    // Updates every object in order (nothing when frozen) and destroys those whose update asks
    // for it. Scripts run from an update may add or remove objects, or replace the level; the
    // walk stops when stop_walk becomes true.
    void update(float dt, const bool& stop_walk);
    // Nothing when hidden.
    void draw(Renderer& renderer, const Color& level_colour);

    void add_object(std::unique_ptr<GameObject> object);
    // Holds an object owned elsewhere; it is never destroyed by the layer and never answers an
    // id search.
    void hold_object(GameObject* object);
    // The first owned object with that id, or null.
    GameObject* find_by_id(int32_t id) const;
    // Takes the first owned object with that id out of the list (every entry referring to it)
    // and destroys it; false when there is none.
    bool remove_by_id(int32_t id);
    // Objects in list order (nulls where entries were removed during a walk).
    size_t size() const { return objects_.size(); }
    GameObject* object_at(size_t i) const { return objects_[i].get(); }

    Vector2 parallax;
    BlendState blend;
    Color colour{1, 1, 1, 1};
    bool visible = true;
    bool frozen = false;

  private:
    struct Entry {
        std::unique_ptr<GameObject> owned;
        Ref<GameObject> held;
        GameObject* get() const { return owned ? owned.get() : held.get(); }
    };
    void remove_entries_of(GameObject* object);
    void compact();

    std::vector<Entry> objects_;
    int walking_ = 0;
};
