#pragma once

#include <memory>

#include "Core/Tracked.h"
#include "Physics/Collider.h"
#include "Scene/GameObject.h"

class LeverDoorRegistry;
class Sound;
class Sprite;

// Blocks passage while closed by keeping a copy of its collider in the level's colliders; opens
// and closes only through lever signals.
class Door : public GameObject {
  public:
    Door(LeverDoorRegistry& registry, std::unique_ptr<Sprite> open_sprite,
         std::unique_ptr<Sprite> closed_sprite, std::unique_ptr<Collider> collider_template,
         bool closed);
    ~Door() override;

    void draw(Renderer& renderer, const Color& tint) override;
    // The shown sprite's own result: a door never finishes by itself.
    bool update(float dt) override;

    void set_open(bool open);
    bool closed() const { return closed_; }
    Sprite* current_sprite() const { return current_; }

    std::unique_ptr<Sprite> open_sprite;
    std::unique_ptr<Sprite> closed_sprite;
    std::unique_ptr<Sound> opening_sound;
    std::unique_ptr<Sound> closing_sound;
    std::unique_ptr<Collider> collider_template;

  private:
    Ref<LeverDoorRegistry> registry_;
    Sprite* current_ = nullptr;
    bool closed_ = false;
};

// Puts an animated sprite back on its first frame; other sprites have nothing to restart.
void restart_animation(GameObject* sprite);
