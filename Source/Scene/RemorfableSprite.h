#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "Scene/GameObject.h"
#include "Scene/KeyFrame.h"
#include "Scene/Sprite.h"

// Moves, turns, scales and recolours its target sprite along key frames on a timeline from 0
// to 1. The first key frame is the target's state when it was attached.
class RemorfableSprite : public GameObject {
  public:
    void draw(Renderer& renderer, const Color& tint) override;
    bool update(float dt) override;

    // Replaces the target (the old one and its key frame go) and records the new target's
    // state as the first key frame.
    void attach(std::unique_ptr<Sprite> new_target);
    // Sorted by time, after frames of equal time; a time outside 0..1 is ignored.
    void insert_key_frame(const KeyFrame& frame);
    // A copy with a clone of the target, starting at time 0.
    std::unique_ptr<RemorfableSprite> copy() const;

    std::unique_ptr<Sprite> target;
    float speed = 0.0f;
    std::vector<KeyFrame> key_frames;
    int32_t segment = 1;
    float time = 0.0f;
    bool looping = false;

  private:
    // The two key frames the segment runs between; frame 0 serves as time 0 and as time 1.
    void segment_ends(KeyFrame*& start, KeyFrame*& end);
    void morph(const KeyFrame& start, const KeyFrame& end, float f);
};
