#pragma once

#include <optional>

#include "Scene/GameObject.h"
#include "Scene/KeyFrame.h"
#include "Scene/TempList.h"

// The process-wide tables of objects under construction. They belong to no level and survive
// level changes.
class TempLists {
  public:
    static TempLists& instance();

    TempList<GameObject> game_objects;
    // The key frame being built by add_key_frame, until upload_key_frame inserts it.
    std::optional<KeyFrame> pending_key_frame;

  private:
    TempLists() = default;
};
