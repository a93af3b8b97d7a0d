#pragma once

#include <cstdint>

#include "Core/Tracked.h"
#include "Physics/SegmentStrip.h"
#include "Render/Transform.h"
#include "Render/Vector2.h"

class Level;

// The physics of a creature: a point at its feet with a velocity, gravity, drag and jump data.
// It lands on the level's segment strips from above and then walks along them.
struct CreatureBody {
    // Frame times are cut to this for the physics, so a stalled frame cannot throw a body
    // through the level or out of the finite range.
    static constexpr float max_step_dt = 0.1f;
    // Velocities are kept within this magnitude (units per second).
    static constexpr float max_velocity = 1.0e6f;

    // One physics step of dt seconds against the level's strips (nothing to land on without a
    // level). The player's body is then pushed out of the level's colliders.
    void step(float dt, Level* level);
    // Sets the jump velocity when a jump is left; in every case the body leaves its ground and
    // uses up a jump.
    void jump();
    // The horizontal push of a held direction (-1 left, 1 right) over dt seconds.
    void push(int32_t direction, float dt);
    // The point the quad, trigger, emitter, collision shape and camera use: the feet raised by
    // the vertical offset.
    Vector2 centre() const {
        return {transform.position.x, transform.position.y + vertical_offset};
    }

    Transform transform;       // position: the feet
    Ref<SegmentStrip> ground;  // the strip stood on; empty while airborne or when it is gone
    float vx = 0.0f;
    float vy = 0.0f;
    int32_t max_jumps = 2;
    int32_t jumps_used = 2;  // a new body must land once before it can jump
    float jump_speed = 100.0f;
    float speed = 100.0f;  // push per second while a direction is held
    float gravity = 9.81f;
    float drag = 5.0f;  // per second
    float vertical_offset = 0.0f;
    int32_t facing = 0;     // -1 left, 1 right, 0 not yet set
    bool driven = false;    // pushed since the last step
    bool jump_cut = false;  // the jump key was released while rising
};

// Tells the level that a body has just landed on the strip (the level's unstable floors start
// to give way under it). Called by CreatureBody::step right after a strip catches a body.
void notify_landing(Level& level, SegmentStrip& strip);

// Pushes the current player's body out of the first of the level's colliders its trigger shape
// touches; does nothing for any other body, or for a player without a trigger shape.
void push_out_player(CreatureBody& body, const Level& level);
