#pragma once

#include <cstdint>
#include <string>

#include "Creatures/CharacterController.h"
#include "Creatures/MovingCreature.h"

// The player: reads commands from its controller, runs the five-state movement machine and the
// body physics every frame, is pushed out of the level's colliders and steers the camera.
class Player : public MovingCreature {
  public:
    // The movement states (the state field).
    enum State : int32_t { jumping = 1, falling = 2, walking = 3, standing = 4, dead = 5 };

    Player();
    ~Player() override;

    void draw(Renderer& renderer, const Color& tint) override;
    // The player's frame. Never asks to be removed.
    bool update(float dt) override;
    // The use action: fires the use triggers the player's trigger overlaps (only on a press).
    virtual void use(bool pressed);

    // Changes the movement state: rewinds the animation, picks the state's animation and does
    // the state's entry work (jump, sounds, and a push over the frame time dt).
    void enter_state(int32_t s, float dt = 0.0f);
    // Polls the controller and returns the state its events ask for, or 0.
    int32_t read_input();
    // Before a new level is built: airborne, at rest, all jumps used, standing.
    void reset_for_level_change();
    // The horizontal push of whichever single direction is held.
    void horizontal_control(float dt);
    // Exactly one of left and right is held.
    bool one_direction_held() const { return left_held != right_held; }

    bool left_held = false;
    bool left_changed = false;
    bool right_held = false;
    bool right_changed = false;
    bool jump_held = false;
    bool jump_changed = false;
    // Installed by upload_controller; owned by the game, not by the player.
    Ref<CharacterController> controller;
    // HEALTH: the player's Health record joins here (health_update in update, health_reset in
    // reset_for_level_change, the death effect in draw).
    std::string death_script;
};
