#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "Mechanisms/LeverDoorRegistry.h"
#include "Mechanisms/UnstableFloorManager.h"
#include "Physics/Collider.h"
#include "Physics/SegmentStrip.h"
#include "Render/CameraBinder.h"
#include "Render/Color.h"
#include "Scene/Layer.h"
#include "Scene/LevelMarks.h"

class GameObject;
class Renderer;

// A game screen: an ordered stack of layers (the first drawn at the back) and the level's own
// geometry and mechanisms.
class Level {
  public:
    Level() = default;
    // Destroys the layers' objects (not the objects layers only hold), then the camera binder
    // and the level's geometry, in that order.
    ~Level();
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

    void update(float dt);
    // Each layer is drawn with the camera shifted by its parallax; the camera is put back after.
    void draw(Renderer& renderer);

    // Null when the index names no layer.
    Layer* layer_at(int32_t index) const;
    int32_t layer_count() const { return static_cast<int32_t>(layers.size()); }
    // The first owned object with that id, searching layers in order.
    GameObject* find_by_id(int32_t id) const;
    void add_object(Layer& layer, std::unique_ptr<GameObject> object);

    // The level stops being the current one; an update walking it ends after the current
    // object.
    void retire() { retired_ = true; }

    std::vector<std::unique_ptr<Layer>> layers;
    SegmentStripList segment_strips;
    ColliderList colliders;
    // The level's doors, levers and their signals; closed doors block through colliders.
    LeverDoorRegistry lever_doors{colliders};
    // The floors that crumble under a landing body.
    UnstableFloorManager unstable_floors;
    Color level_colour{1, 1, 1, 1};
    std::unique_ptr<CameraBinder> camera_binder;
    // Filled only by loading maps.
    LevelMarks marks;

  private:
    bool retired_ = false;
};
