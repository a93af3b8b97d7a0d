#pragma once

#include <memory>

#include "Core/Tracked.h"
#include "Scene/GameObject.h"

class LeverDoorRegistry;
class Sound;
class Sprite;

// A switch with an on and an off look; scripts flip it with use_lever.
class Lever : public GameObject {
  public:
    Lever(LeverDoorRegistry& registry, std::unique_ptr<Sprite> off_sprite,
          std::unique_ptr<Sprite> on_sprite, bool on);
    ~Lever() override;

    void draw(Renderer& renderer, const Color& tint) override;
    bool update(float dt) override;

    // Flips the lever; returns the state it had before.
    bool toggle();
    bool on() const { return on_; }
    Sprite* current_sprite() const { return current_; }

    std::unique_ptr<Sprite> off_sprite;
    std::unique_ptr<Sprite> on_sprite;
    std::unique_ptr<Sound> off_sound;
    std::unique_ptr<Sound> on_sound;

  private:
    Ref<LeverDoorRegistry> registry_;
    Sprite* current_ = nullptr;
    bool on_ = false;
};
