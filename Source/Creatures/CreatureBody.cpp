#include "Creatures/CreatureBody.h"

#include <algorithm>
#include <cmath>

#include "Creatures/Player.h"
#include "Mechanisms/AreaTrigger.h"
#include "Physics/Collider.h"
#include "Physics/Ground.h"
#include "Scene/Level.h"
#include "Shell/Game.h"

namespace {

// Moves v towards 0 by k, never past it; a negative (or NaN) k leaves v as it is.
float damp(float v, float k) {
    if (!(k >= 0.0f))
        return v;
    const float a = std::fabs(v);
    const float cut = std::min(k, a);
    return v > 0.0f ? v - cut : v + cut;
}

float limit(float v) {
    if (std::isnan(v))
        return 0.0f;
    return std::clamp(v, -CreatureBody::max_velocity, CreatureBody::max_velocity);
}

}  // namespace

void notify_landing(Level& level, SegmentStrip& strip) {
    // An unstable floor tied to the strip starts to give way.
    level.unstable_floors.landed_on(strip);
}

void CreatureBody::step(float dt, Level* level) {
    if (!(dt > 0.0f))
        dt = 0.0f;
    dt = std::min(dt, max_step_dt);

    float factor = 1.0f;
    if (ground) {
        jump_cut = false;
    } else {
        vy -= gravity * dt;
        factor = driven ? 1.0f : 0.1f;
        if (vy < 0.0f)
            jump_cut = false;
        if (jump_cut)
            vy = damp(vy, 0.3f * drag * dt * std::fabs(vy));
    }
    driven = false;
    vx = limit(damp(vx, drag * dt * factor * std::fabs(vx)));
    vy = limit(vy);

    // Ground: rising bodies neither walk nor land.
    if (!(vy > 0.0f)) {
        SegmentStrip* strip = ground.get();
        if (strip && strip->enabled) {
            jumps_used = 0;
            WalkResult w = walk_along(*strip, transform.position, vx * dt);
            transform.position = w.position;
            if (w.fell) {
                ground.reset();
                ++jumps_used;
            }
            // Off the strip the body moves on by its velocity below.
        } else {
            if (strip) {
                // The strip was switched off under the body.
                ++jumps_used;
                ground.reset();
            }
            if (level) {
                if (SegmentStrip* caught =
                        find_landing_strip(level->segment_strips, transform.position)) {
                    ground = caught;
                    notify_landing(*level, *caught);
                } else {
                    // A fall too fast for the catch depth lands where the feet cross a line.
                    // Where the band will catch the feet on that strip at the next step, it
                    // does, as it always has.
                    const Vector2 to = transform.position + Vector2{vx * dt, vy * dt};
                    Crossing c = find_crossed_strip(level->segment_strips, transform.position, to);
                    if (c.strip && find_landing_strip(level->segment_strips, to) != c.strip) {
                        transform.position = c.point;
                        ground = c.strip;
                        notify_landing(*level, *c.strip);
                    }
                }
            }
        }
    }
    if (!ground)
        transform.position = transform.position + Vector2{vx * dt, vy * dt};

    if (level)
        push_out_player(*this, *level);
}

void CreatureBody::jump() {
    if (jumps_used < max_jumps)
        vy = limit(jump_speed);
    ground.reset();
    if (jumps_used < INT32_MAX)
        ++jumps_used;
}

void CreatureBody::push(int32_t direction, float dt) {
    facing = direction;
    driven = true;
    vx = limit(vx + static_cast<float>(direction) * speed * dt);
}

void push_out_player(CreatureBody& body, const Level& level) {
    Player* player = Game::instance().player.get();
    if (!player || &player->body != &body)
        return;
    AreaTrigger* trigger = player->active_trigger();
    if (!trigger || !trigger->shape)
        return;
    Transform placed = body.transform;
    placed.position = body.centre();
    PushOut p = push_out(*trigger->shape, placed, level.colliders);
    if (p.collider)
        body.transform.position = body.transform.position + p.offset;
}
