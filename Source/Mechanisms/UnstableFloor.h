#pragma once

#include <cstdint>
#include <memory>

#include "Physics/SegmentStrip.h"
#include "Scene/GameObject.h"

class AnimatedSprite;
class MusicRecord;
class Sound;

// Ground that gives way: a landing on its strip starts a crumble, after the fall delay the strip
// lets bodies drop through, and after the restore time it holds again.
class UnstableFloor : public GameObject {
  public:
    enum State : int32_t { crumbling = -1, solid = 0, fallen = 1 };

    UnstableFloor(float restore_time, float fall_delay);
    ~UnstableFloor() override;

    void draw(Renderer& renderer, const Color& tint) override;
    bool update(float dt) override;

    // A body landed on the strip: a solid floor on an enabled strip starts to crumble.
    void step_on();

    // Each replaces (and destroys) the previous one; the solid sprite is also shown.
    void set_solid_sprite(std::unique_ptr<AnimatedSprite> sprite);
    void set_fallen_sprite(std::unique_ptr<AnimatedSprite> sprite);
    void set_crumbling_sprite(std::unique_ptr<AnimatedSprite> sprite);

    AnimatedSprite* current_sprite() const { return current_; }

    float countdown = 0.0f;
    Ref<SegmentStrip> strip;  // the level's; empty until set
    int32_t state = solid;
    float fall_delay;
    float restore_time;
    std::unique_ptr<AnimatedSprite> solid_sprite;
    std::unique_ptr<AnimatedSprite> fallen_sprite;
    std::unique_ptr<AnimatedSprite> crumbling_sprite;
    std::unique_ptr<Sound> fall_sound;
    std::unique_ptr<Sound> restore_sound;
    std::unique_ptr<MusicRecord> crumble_music;

  private:
    // Restarts the shown sprite and shows the next one, when there is one.
    void show(AnimatedSprite* next);
    void replace(std::unique_ptr<AnimatedSprite>& slot, std::unique_ptr<AnimatedSprite> sprite);
    AnimatedSprite* current_ = nullptr;
};
