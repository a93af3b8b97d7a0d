#pragma once

#include <memory>

#include "Audio/Sound.h"
#include "Audio/SoundEffect.h"
#include "Creatures/Creature.h"
#include "Scene/Sprite.h"

// A named creature made by scripts. It runs no physics of its own: it stays where it is put
// unless an AI state moves it.
class MovingCreature : public Creature {
  public:
    MovingCreature() = default;
    // Also ends the AI states that drive this creature.
    ~MovingCreature() override;

    // The creature update, then the emitter follows the creature's centre.
    bool update(float dt) override;

    std::unique_ptr<Animation> walk_animation;
    std::unique_ptr<Animation> jump_animation;
    std::unique_ptr<Animation> fall_animation;
    // Follows the creature; not owned. Empties when its layer destroys it.
    Ref<Sprite> emitter;
    std::unique_ptr<SoundEffect> walk_sound;
    std::unique_ptr<Sound> jump_sound;
};
