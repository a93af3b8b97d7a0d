#pragma once

#include <cstdint>
#include <memory>

#include "Creatures/CreatureBody.h"
#include "Render/Animation.h"
#include "Render/Color.h"
#include "Render/Vector2.h"
#include "Scene/GameObject.h"

class AreaTrigger;

// An animated actor of a level: a quad standing on its physics body, drawn from its current
// animation, with an optional trigger that follows it.
class Creature : public GameObject {
  public:
    // The state that asks the layer to remove the creature.
    static constexpr int32_t removed_state = 5;

    Creature();
    // Takes the trigger out of the trigger manager before destroying it.
    ~Creature() override;

    void draw(Renderer& renderer, const Color& tint) override;
    // True (remove me) in the removed state; otherwise advances the animation and moves the
    // trigger along.
    bool update(float dt) override;

    // Sets the idle animation (a copy of the template, or none) and makes it current.
    void set_idle_animation(const Animation* animation);
    // Gives the creature a trigger it owns and carries; the previous one leaves the trigger
    // manager and is destroyed.
    void set_trigger(std::unique_ptr<AreaTrigger> new_trigger);
    // The trigger that follows the creature: its own, or the one it handed to the trigger
    // manager (empty once the manager has destroyed it).
    AreaTrigger* active_trigger() const;

    // Lower-left, lower-right, upper-right, upper-left, around the centre.
    Vector2 corners[4] = {};
    Color colour{1.0f, 1.0f, 1.0f, 1.0f};
    CreatureBody body;
    int32_t state = 0;
    std::unique_ptr<Animation> idle_animation;
    Animation* current_animation = nullptr;  // one of the creature's own animations, or null
    std::unique_ptr<AreaTrigger> trigger;
    // The trigger once its ownership went to the trigger manager (the player's, after
    // add_player_trigger_to_manager).
    Ref<AreaTrigger> managed_trigger;
};
