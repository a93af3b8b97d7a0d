#include "Creatures/Player.h"

#include <algorithm>
#include <array>

#include "Mechanisms/AreaTrigger.h"
#include "Mechanisms/TriggerManager.h"
#include "Render/Camera.h"
#include "Render/CameraBinder.h"
#include "Scene/Level.h"
#include "Script/ScriptHost.h"
#include "Shell/Game.h"

Player::Player() {
    state = standing;
}

Player::~Player() {
    // A trigger handed to the manager goes with its player.
    if (AreaTrigger* t = managed_trigger.get())
        if (TriggerManager* manager = Game::instance().triggers.get())
            manager->remove(t);
}

void Player::draw(Renderer& renderer, const Color& tint) {
    Creature::draw(renderer, tint);
    health.draw_effect(renderer);
}

void Player::use(bool pressed) {
    if (!pressed)
        return;
    if (TriggerManager* manager = Game::instance().triggers.get())
        manager->use_triggers(active_trigger());
}

void Player::horizontal_control(float dt) {
    if (left_held && !right_held)
        body.push(-1, dt);
    else if (right_held && !left_held)
        body.push(1, dt);
}

void Player::enter_state(int32_t s, float dt) {
    if (s >= jumping && s <= standing) {
        if (current_animation && !current_animation->frames.empty())
            current_animation->reset();
        Animation* next = nullptr;
        switch (s) {
            case jumping:
                next = jump_animation.get();
                break;
            case falling:
                next = fall_animation.get();
                break;
            case walking:
                next = walk_animation.get();
                break;
            default:
                next = idle_animation.get();
                break;
        }
        if (next)
            current_animation = next;
    }
    switch (s) {
        case jumping:
            if (jump_sound) {
                jump_sound->x = body.transform.position.x;
                jump_sound->y = body.transform.position.y;
                jump_sound->play();
            }
            body.jump();
            if (left_held && !right_held)
                body.push(-1, dt);
            else if (right_held && !left_held)
                body.push(1, dt);
            state = jumping;
            break;
        case falling:
            state = falling;
            break;
        case walking:
            if (walk_sound)
                walk_sound->restart();
            body.push(left_held ? -1 : 1, dt);
            state = walking;
            break;
        case standing:
            state = standing;
            break;
        case dead:
            state = dead;
            break;
        default:
            break;
    }
}

int32_t Player::read_input() {
    left_changed = right_changed = jump_changed = false;
    CharacterController* c = controller.get();
    if (!c)
        return 0;
    c->poll();
    if (c->events.empty())
        return 0;
    // A use trigger's script may replace the controller while its events are read: read a
    // copy. One event per command at most, so a few slots suffice.
    std::array<ControllerEvent, 8> events;
    const size_t n = std::min(c->events.size(), events.size());
    std::copy_n(c->events.begin(), n, events.begin());
    for (size_t i = 0; i < n; ++i) {
        const ControllerEvent& e = events[i];
        switch (e.command) {
            case command::left:
                left_changed = true;
                left_held = e.value;
                break;
            case command::right:
                right_changed = true;
                right_held = e.value;
                break;
            case command::up:
                jump_changed = true;
                jump_held = e.value;
                break;
            case command::action:
                use(e.value);
                break;
            default:
                break;
        }
    }
    switch (state) {
        case jumping:
            if (jump_changed) {
                if (jump_held && body.jumps_used < body.max_jumps)
                    return jumping;
                body.jump_cut = true;
            }
            return 0;
        case falling:
            if (jump_changed && jump_held && body.jumps_used < body.max_jumps)
                return jumping;
            return 0;
        case walking:
            if (jump_changed && jump_held)
                return jumping;
            return one_direction_held() ? walking : standing;
        case standing:
            if (jump_changed && jump_held)
                return jumping;
            return one_direction_held() ? walking : 0;
        default:
            return 0;
    }
}

bool Player::update(float dt) {
    Game& game = Game::instance();
    // Frozen in dialogs and menus, animation included.
    if (game.state != GameState::running)
        return false;
    // The same bounded frame time as the body physics, so pushes stay finite too.
    dt = dt > 0.0f ? std::min(dt, CreatureBody::max_step_dt) : 0.0f;

    const int32_t t = read_input();
    if (t != 0) {
        enter_state(t, dt);
    } else {
        switch (state) {
            case jumping:
                if (body.vy < 0.0f)
                    enter_state(falling, dt);
                horizontal_control(dt);
                break;
            case falling:
                if (body.ground) {
                    body.jumps_used = 0;
                    enter_state(one_direction_held() ? walking : standing, dt);
                }
                horizontal_control(dt);
                break;
            case walking:
                if (walk_sound && walk_sound->sound) {
                    walk_sound->sound->x = body.transform.position.x;
                    walk_sound->sound->y = body.transform.position.y;
                    walk_sound->update(dt);
                }
                horizontal_control(dt);
                if (!body.ground)
                    enter_state(falling, dt);
                break;
            case dead:
                // Every frame until the player is reset.
                if (!death_script.empty())
                    ScriptHost::run_script(death_script, 0, "death script of the player");
                break;
            default:
                break;
        }
        if (current_animation)
            current_animation->advance(dt);
    }

    body.step(dt, game.level.get());
    MovingCreature::update(dt);

    const Vector2 centre = body.centre();
    if (health.update(dt, centre.x, centre.y))
        enter_state(dead);

    if (Level* level = game.level.get())
        if (level->camera_binder && game.camera)
            level->camera_binder->follow(*game.camera, body.centre());
    return false;
}

void Player::reset_for_level_change() {
    body.ground.reset();
    body.vx = body.vy = 0.0f;
    body.jumps_used = body.max_jumps;
    body.facing = 0;
    body.driven = false;
    body.jump_cut = false;
    health.reset();
    enter_state(standing);
}
