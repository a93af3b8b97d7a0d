// Script functions of hammers, shooters and bullets.
#include "Audio/Sound.h"
#include "Audio/SoundEffect.h"
#include "Mechanisms/Bullet.h"
#include "Mechanisms/GateTrigger.h"
#include "Mechanisms/Hammer.h"
#include "Mechanisms/Shooter.h"
#include "Scene/AnimatedSprite.h"
#include "Scene/Level.h"
#include "Scene/RemorfableSprite.h"
#include "Scene/TempLists.h"
#include "Scene/TexturedSprite.h"
#include "Script/LuaFunctions.h"
#include "Script/ScriptErrorLog.h"
#include "Shell/Game.h"

namespace {

TempList<GameObject>& objects() {
    return TempLists::instance().game_objects;
}

// The first object with the id in the current level, when it is of the kind asked for. A
// script naming none is told at level 2 of the script error log, as with the functions below.
template <class T>
T* placed(int32_t id, const char* function, const char* what) {
    Level* level = Game::instance().level.get();
    T* found = level ? dynamic_cast<T*>(level->find_by_id(id)) : nullptr;
    if (!found)
        ScriptErrorLog::missing(function, what, id);
    return found;
}

// Whether the name is an object of kind T that the temp list owns; told when it is not.
template <class T, class Base>
bool takeable(TempList<Base>& list, const std::string& name, const char* function,
              const char* what) {
    if (dynamic_cast<T*>(list.find(name)) && list.owns(name))
        return true;
    ScriptErrorLog::missing(function, what, name);
    return false;
}

// Takes an object of kind T out of a temp list (name and all); null, and the list unchanged,
// when the name is missing, is only an alias, or names something else.
template <class T, class Base>
std::unique_ptr<T> take_as(TempList<Base>& list, const std::string& name, const char* function,
                           const char* what) {
    if (!takeable<T>(list, name, function, what))
        return nullptr;
    return std::unique_ptr<T>(static_cast<T*>(list.take(name).release()));
}

// The same, the name staying behind as an alias for configuration.
template <class T, class Base>
std::unique_ptr<T> take_keeping_alias_as(TempList<Base>& list, const std::string& name,
                                         const char* function, const char* what) {
    if (!takeable<T>(list, name, function, what))
        return nullptr;
    return std::unique_ptr<T>(static_cast<T*>(list.take_keeping_alias(name).release()));
}

Bullet* find_bullet(const std::string& name, const char* function) {
    auto* bullet = dynamic_cast<Bullet*>(objects().find(name));
    if (!bullet)
        ScriptErrorLog::missing(function, "bullet", name);
    return bullet;
}

// Makes a pendulum and puts it into the layer; nothing when the index names no layer.
template <class T>
void place_pendulum(int32_t id, float x, float y, int32_t layer_index, const char* function) {
    Level* level = Game::instance().level.get();
    Layer* layer = level ? level->layer_at(layer_index) : nullptr;
    if (!layer) {
        ScriptErrorLog::missing(function, "layer", layer_index);
        return;
    }
    auto object = std::make_unique<T>();
    object->id = id;
    object->transform.position = {x, y};
    level->add_object(*layer, std::move(object));
}

void set_anchor_sprite(int32_t id, const std::string& name, const char* function) {
    Pendulum* pendulum = placed<Pendulum>(id, function, "hammer or shooter with id");
    if (!pendulum)
        return;
    if (auto sprite = take_as<AnimatedSprite>(objects(), name, function, "animated sprite"))
        pendulum->anchor_sprite = std::move(sprite);
}

void add_idle_pair(int32_t id, float first, float second, const char* function) {
    if (Pendulum* pendulum = placed<Pendulum>(id, function, "hammer or shooter with id"))
        pendulum->add_idle_pair(first, second);
}

}  // namespace

void LuaFunctions::create_hammer(int32_t id, float x, float y, int32_t layer) {
    place_pendulum<Hammer>(id, x, y, layer, __func__);
}

void LuaFunctions::hammer_add_trigger(int32_t id, const std::string& trigger_name) {
    Hammer* hammer = placed<Hammer>(id, __func__, "hammer with id");
    if (!hammer)
        return;
    if (auto trigger = take_as<GateTrigger>(TempLists::instance().triggers, trigger_name, __func__,
                                            "gate trigger"))
        hammer->set_trigger(std::move(trigger));
}

void LuaFunctions::hammer_add_idle_pair(int32_t id, float first, float second) {
    add_idle_pair(id, first, second, __func__);
}

void LuaFunctions::hammer_add_speed_pair(int32_t id, float first, float second) {
    if (Hammer* hammer = placed<Hammer>(id, __func__, "hammer with id"))
        hammer->add_speed_pair(first, second);
}

void LuaFunctions::hammer_piston_locations(int32_t id, float ax, float ay, float bx, float by) {
    if (Hammer* hammer = placed<Hammer>(id, __func__, "hammer with id"))
        hammer->set_piston_locations({ax, ay}, {bx, by});
}

void LuaFunctions::hammer_set_cylinder_animatedsprite(int32_t id, const std::string& name) {
    set_anchor_sprite(id, name, __func__);
}

void LuaFunctions::hammer_set_piston_animatedsprite(int32_t id, const std::string& name) {
    Hammer* hammer = placed<Hammer>(id, __func__, "hammer with id");
    if (!hammer)
        return;
    if (auto sprite = take_as<AnimatedSprite>(objects(), name, __func__, "animated sprite"))
        hammer->piston = std::move(sprite);
}

void LuaFunctions::hammer_set_piston_angledifference(int32_t id, float angle) {
    if (Hammer* hammer = placed<Hammer>(id, __func__, "hammer with id"))
        hammer->angle_difference = std::isfinite(angle) ? angle : 0.0f;
}

void LuaFunctions::hammer_set_crankshaft_sprite(int32_t id, const std::string& name) {
    Hammer* hammer = placed<Hammer>(id, __func__, "hammer with id");
    if (!hammer)
        return;
    hammer->set_crankshaft(take_as<TexturedSprite>(objects(), name, __func__, "textured sprite"));
}

void LuaFunctions::hammer_add_down_going_sound(int32_t id, const std::string& effect_name) {
    Hammer* hammer = placed<Hammer>(id, __func__, "hammer with id");
    if (!hammer)
        return;
    if (auto effect =
            take_keeping_alias_as<SoundEffect>(objects(), effect_name, __func__, "sound effect"))
        hammer->down_sound = std::move(effect);
}

void LuaFunctions::hammer_add_up_going_sound(int32_t id, const std::string& effect_name) {
    Hammer* hammer = placed<Hammer>(id, __func__, "hammer with id");
    if (!hammer)
        return;
    if (auto effect =
            take_keeping_alias_as<SoundEffect>(objects(), effect_name, __func__, "sound effect"))
        hammer->up_sound = std::move(effect);
}

void LuaFunctions::create_shooter(int32_t id, float x, float y, int32_t layer) {
    place_pendulum<Shooter>(id, x, y, layer, __func__);
}

void LuaFunctions::shooter_set_idle_time(int32_t id, float first, float second) {
    add_idle_pair(id, first, second, __func__);
}

void LuaFunctions::shooter_set_bullet(int32_t id, const std::string& bullet_name, int32_t layer) {
    Shooter* shooter = placed<Shooter>(id, __func__, "shooter with id");
    if (!shooter)
        return;
    if (auto bullet = take_keeping_alias_as<Bullet>(objects(), bullet_name, __func__, "bullet"))
        shooter->set_bullet(std::move(bullet), layer);
}

void LuaFunctions::shooter_set_idle_animation(int32_t id, const std::string& name) {
    set_anchor_sprite(id, name, __func__);
}

void LuaFunctions::shooter_add_shooting_effect(int32_t id, const std::string& sound_name) {
    Shooter* shooter = placed<Shooter>(id, __func__, "shooter with id");
    if (!shooter)
        return;
    if (auto sound = take_keeping_alias_as<Sound>(TempLists::instance().sounds, sound_name,
                                                  __func__, "sound"))
        shooter->shooting_sound = std::move(sound);
}

void LuaFunctions::create_bullet(const std::string& name, int32_t id) {
    auto bullet = std::make_unique<Bullet>();
    bullet->id = id;
    objects().put(name, std::move(bullet));
}

void LuaFunctions::bullet_set_trigger(const std::string& bullet_name,
                                      const std::string& trigger_name) {
    auto* bullet = find_bullet(bullet_name, __func__);
    if (!bullet)
        return;
    if (auto trigger = take_as<GateTrigger>(TempLists::instance().triggers, trigger_name, __func__,
                                            "gate trigger")) {
        trigger->id = bullet->id;
        bullet->set_trigger(std::move(trigger));
    }
}

void LuaFunctions::bullet_set_graphics(const std::string& bullet_name,
                                       const std::string& sprite_name) {
    auto* bullet = find_bullet(bullet_name, __func__);
    if (!bullet)
        return;
    if (auto graphics =
            take_as<RemorfableSprite>(objects(), sprite_name, __func__, "key-frame sprite"))
        bullet->graphics = std::move(graphics);
}

void LuaFunctions::bullet_set_flying_sound(const std::string& bullet_name,
                                           const std::string& effect_name) {
    auto* bullet = find_bullet(bullet_name, __func__);
    if (!bullet)
        return;
    if (auto effect =
            take_keeping_alias_as<SoundEffect>(objects(), effect_name, __func__, "sound effect"))
        bullet->flying_sound = std::move(effect);
}
