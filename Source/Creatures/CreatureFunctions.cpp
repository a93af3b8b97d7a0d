// Script functions of creatures and the player.
#include <algorithm>
#include <cmath>

#include "Audio/Sound.h"
#include "Audio/SoundEffect.h"
#include "Creatures/MovingCreature.h"
#include "Creatures/Player.h"
#include "Mechanisms/AreaTrigger.h"
#include "Mechanisms/TriggerManager.h"
#include "Render/Registries.h"
#include "Scene/Level.h"
#include "Scene/TempLists.h"
#include "Script/LuaFunctions.h"
#include "Script/ScriptErrorLog.h"
#include "Shell/Game.h"

namespace {

constexpr int32_t player_kind = 0;
constexpr int32_t named_kind = 2;
// Magnitudes scripts may give the body's numbers; beyond them the physics would overflow.
constexpr float max_magnitude = 1.0e9f;

TempList<GameObject>& objects() {
    return TempLists::instance().game_objects;
}

// The creature a script names: the player for kind 0, the named creature for kind 2. A
// creature that is not there is told at level 2 of the script error log.
MovingCreature* creature(const std::string& name, int32_t kind, const char* function) {
    MovingCreature* found = nullptr;
    if (kind == player_kind) {
        found = Game::instance().player.get();
        if (!found)
            ScriptErrorLog::missing(function, "player");
    } else if (kind == named_kind) {
        found = dynamic_cast<MovingCreature*>(objects().find(name));
        if (!found)
            ScriptErrorLog::missing(function, "creature", name);
    }
    return found;
}

Player* player(const char* function) {
    Player* found = Game::instance().player.get();
    if (!found)
        ScriptErrorLog::missing(function, "player");
    return found;
}

const Animation* animation(const std::string& name, const char* function) {
    const Animation* a = AnimationRegistry::instance().find(name);
    if (!a)
        ScriptErrorLog::missing(function, "animation", name);
    return a;
}

// A script number fit for the body, or none for NaN and infinities.
bool usable(float v) {
    return std::isfinite(v);
}

float bounded(float v) {
    return std::clamp(v, -max_magnitude, max_magnitude);
}

std::unique_ptr<Animation> animation_copy(const std::string& name, const char* function) {
    const Animation* a = animation(name, function);
    return a ? std::make_unique<Animation>(*a) : nullptr;
}

}  // namespace

void LuaFunctions::create_creature(const std::string& name, int32_t kind, const std::string& idle,
                                   const std::string& walk, const std::string& jump,
                                   const std::string& fall) {
    std::unique_ptr<MovingCreature> made;
    if (kind == player_kind)
        made = std::make_unique<Player>();
    else if (kind == named_kind)
        made = std::make_unique<MovingCreature>();
    else
        return;
    made->set_idle_animation(animation(idle, __func__));
    made->walk_animation = animation_copy(walk, __func__);
    made->jump_animation = animation_copy(jump, __func__);
    made->fall_animation = animation_copy(fall, __func__);
    if (kind == player_kind)
        Game::instance().set_player(std::unique_ptr<Player>(static_cast<Player*>(made.release())));
    else
        objects().put(name, std::move(made));
}

void LuaFunctions::creature_translation(const std::string& name, int32_t kind, float x, float y) {
    if (!usable(x) || !usable(y))
        return;
    if (MovingCreature* c = creature(name, kind, __func__))
        c->body.transform.position = {x, y};
}

void LuaFunctions::creature_speed(const std::string& name, int32_t kind, float speed) {
    if (!usable(speed))
        return;
    if (MovingCreature* c = creature(name, kind, __func__))
        c->body.speed = bounded(speed);
}

void LuaFunctions::creature_jump(const std::string& name, int32_t kind, float jump_speed,
                                 int32_t jumps) {
    if (!usable(jump_speed))
        return;
    if (MovingCreature* c = creature(name, kind, __func__)) {
        c->body.jump_speed = bounded(jump_speed);
        c->body.max_jumps = jumps;
    }
}

void LuaFunctions::creature_shape(const std::string& name, int32_t kind, float w, float h) {
    if (!usable(w) || !usable(h))
        return;
    if (MovingCreature* c = creature(name, kind, __func__)) {
        w = bounded(w);
        h = bounded(h);
        c->corners[0] = {-w, -h};
        c->corners[1] = {w, -h};
        c->corners[2] = {w, h};
        c->corners[3] = {-w, h};
        c->body.vertical_offset = h;
    }
}

void LuaFunctions::creature_drag(const std::string& name, int32_t kind, float drag,
                                 const std::string& script) {
    MovingCreature* c = creature(name, kind, __func__);
    if (!c)
        return;
    if (usable(drag))
        c->body.drag = bounded(drag);
    if (kind == player_kind)
        static_cast<Player*>(c)->death_script = script;
}

void LuaFunctions::creature_gravity(const std::string& name, int32_t kind, float gravity) {
    if (!usable(gravity))
        return;
    if (MovingCreature* c = creature(name, kind, __func__))
        c->body.gravity = bounded(gravity);
}

void LuaFunctions::creature_color(const std::string& name, int32_t kind, float r, float g, float b,
                                  float a) {
    if (MovingCreature* c = creature(name, kind, __func__))
        c->colour = {r, g, b, a};
}

void LuaFunctions::creature_trigger(const std::string& name, int32_t kind,
                                    const std::string& trigger_name, int32_t id) {
    MovingCreature* c = creature(name, kind, __func__);
    if (!c)
        return;
    // Only gate and use triggers have a place that can follow a creature.
    TempList<Trigger>& triggers = TempLists::instance().triggers;
    if (!dynamic_cast<AreaTrigger*>(triggers.find(trigger_name))) {
        ScriptErrorLog::missing(__func__, "gate or use trigger", trigger_name);
        return;
    }
    std::unique_ptr<Trigger> taken = triggers.take(trigger_name);
    if (!taken)
        return;
    std::unique_ptr<AreaTrigger> trigger(static_cast<AreaTrigger*>(taken.release()));
    AreaTrigger* t = trigger.get();
    c->set_trigger(std::move(trigger));
    if (kind == named_kind) {
        // Uploaded with the id; the creature keeps it and takes it out again when it goes.
        t->id = id;
        if (TriggerManager* manager = Game::instance().triggers.get())
            manager->add_carried(t);
    }
}

void LuaFunctions::creature_sound(const std::string& name, int32_t, const std::string& walk_sound,
                                  const std::string& jump_sound) {
    // Only named creatures; never the player.
    auto* c = dynamic_cast<MovingCreature*>(objects().find(name));
    if (!c) {
        ScriptErrorLog::missing(__func__, "creature", name);
        return;
    }
    // The names stay as aliases: scripts may still configure the sounds, but the creature is
    // their only owner.
    if (std::unique_ptr<Sound> s = TempLists::instance().sounds.take_keeping_alias(jump_sound))
        c->jump_sound = std::move(s);
    else
        ScriptErrorLog::missing(__func__, "sound", jump_sound);
    if (dynamic_cast<SoundEffect*>(objects().find(walk_sound))) {
        if (std::unique_ptr<GameObject> o = objects().take_keeping_alias(walk_sound))
            c->walk_sound.reset(static_cast<SoundEffect*>(o.release()));
    } else {
        ScriptErrorLog::missing(__func__, "sound effect", walk_sound);
    }
}

void LuaFunctions::creature_remove(int32_t id) {
    Level* level = Game::instance().level.get();
    if (!level) {
        ScriptErrorLog::missing(__func__, "current level");
        return;
    }
    // Objects that are not creatures are left as they are.
    if (auto* c = dynamic_cast<Creature*>(level->find_by_id(id)))
        c->state = Creature::removed_state;
    else
        ScriptErrorLog::missing(__func__, "creature with id", id);
}

void LuaFunctions::upload_player_to_layer(int32_t layer_index) {
    Game& game = Game::instance();
    if (!player(__func__))
        return;
    Layer* layer = game.level ? game.level->layer_at(layer_index) : nullptr;
    if (layer)
        layer->hold_object(game.player.get());
    else
        ScriptErrorLog::missing(__func__, "layer", layer_index);
}

void LuaFunctions::add_player_trigger_to_manager() {
    Game& game = Game::instance();
    Player* player = ::player(__func__);
    if (!player)
        return;
    if (player->trigger && game.triggers) {
        // The manager owns it from now on: a new level destroys it with the other gates.
        AreaTrigger* t = player->trigger.get();
        game.triggers->add(std::move(player->trigger));
        player->managed_trigger = t;
    }
    player->body.ground.reset();
}

void LuaFunctions::creature_emitter(const std::string& creature_name,
                                    const std::string& emitter_name) {
    auto* c = dynamic_cast<MovingCreature*>(objects().find(creature_name));
    auto* e = dynamic_cast<Sprite*>(objects().find(emitter_name));
    if (!c)
        ScriptErrorLog::missing(__func__, "creature", creature_name);
    if (!e)
        ScriptErrorLog::missing(__func__, "sprite or emitter", emitter_name);
    if (c && e)
        c->emitter = e;
}

void LuaFunctions::player_state(int32_t state) {
    Player* player = ::player(__func__);
    if (player && state == 0)
        player->enter_state(Player::dead);
}

float LuaFunctions::get_player_x() {
    Player* player = Game::instance().player.get();
    return player ? player->body.transform.position.x : 0.0f;
}

float LuaFunctions::get_player_y() {
    Player* player = Game::instance().player.get();
    return player ? player->body.transform.position.y : 0.0f;
}
