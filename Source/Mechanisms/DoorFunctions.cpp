// Script functions of doors and levers.
#include "Audio/Sound.h"
#include "Mechanisms/Door.h"
#include "Mechanisms/Lever.h"
#include "Scene/Level.h"
#include "Scene/Sprite.h"
#include "Scene/TempLists.h"
#include "Script/LuaFunctions.h"
#include "Script/ScriptErrorLog.h"
#include "Shell/Game.h"

namespace {

TempList<GameObject>& objects() {
    return TempLists::instance().game_objects;
}

bool takeable_sprite(const std::string& name, const char* function) {
    if (dynamic_cast<Sprite*>(objects().find(name)) && objects().owns(name))
        return true;
    ScriptErrorLog::missing(function, "sprite of its own", name);
    return false;
}

// Both names are sprites the temp list still owns (not ones another object has taken).
bool takeable_sprites(const std::string& first, const std::string& second, const char* function) {
    const bool first_ok = takeable_sprite(first, function);
    return takeable_sprite(second, function) && first_ok;
}

// A level for a door or lever; its absence is told at level 2.
Level* current_level(const char* function) {
    Level* level = Game::instance().level.get();
    if (!level)
        ScriptErrorLog::missing(function, "current level");
    return level;
}

// Takes a sprite for an owner, its name staying as an alias. The same name given twice gives
// the second part a copy, so each part has its own sprite.
std::unique_ptr<Sprite> take_sprite(const std::string& name, const Sprite* taken_before) {
    if (taken_before)
        return taken_before->clone();
    std::unique_ptr<GameObject> object = objects().take_keeping_alias(name);
    return std::unique_ptr<Sprite>(static_cast<Sprite*>(object.release()));
}

std::unique_ptr<Sound> take_sound(const std::string& name, const char* function) {
    if (!TempLists::instance().sounds.contains(name))
        ScriptErrorLog::missing(function, "sound", name);
    return TempLists::instance().sounds.take_keeping_alias(name);
}

// The second sound of a pair: a copy of the first when both name the same sound.
std::unique_ptr<Sound> take_sound_for(const std::string& name, const std::string& first_name,
                                      const Sound* first, const char* function) {
    if (name == first_name)
        return first ? first->clone() : nullptr;
    return take_sound(name, function);
}

}  // namespace

void LuaFunctions::create_door(const std::string& name, const std::string& open_sprite,
                               const std::string& closed_sprite, const std::string& opening_sound,
                               const std::string& closing_sound, int32_t collider_id, bool closed) {
    Level* level = current_level(__func__);
    if (!level || !takeable_sprites(open_sprite, closed_sprite, __func__))
        return;
    const Collider* collider = find_collider(level->colliders, collider_id);
    if (!collider) {
        ScriptErrorLog::missing(__func__, "collider with id", collider_id);
        return;
    }
    std::unique_ptr<Sprite> open = take_sprite(open_sprite, nullptr);
    std::unique_ptr<Sprite> shut =
        take_sprite(closed_sprite, closed_sprite == open_sprite ? open.get() : nullptr);
    auto door = std::make_unique<Door>(level->lever_doors, std::move(open), std::move(shut),
                                       collider->copy(), closed);
    door->opening_sound = take_sound(opening_sound, __func__);
    door->closing_sound =
        take_sound_for(closing_sound, opening_sound, door->opening_sound.get(), __func__);
    // An open door does not block: its collider leaves the level as when it opens.
    if (!closed)
        remove_collider(level->colliders, collider_id);
    objects().put(name, std::move(door));
}

void LuaFunctions::create_lever(const std::string& name, const std::string& off_sprite,
                                const std::string& on_sprite, const std::string& off_sound,
                                const std::string& on_sound, bool on) {
    Level* level = current_level(__func__);
    if (!level || !takeable_sprites(off_sprite, on_sprite, __func__))
        return;
    std::unique_ptr<Sprite> off = take_sprite(off_sprite, nullptr);
    std::unique_ptr<Sprite> lit =
        take_sprite(on_sprite, on_sprite == off_sprite ? off.get() : nullptr);
    auto lever = std::make_unique<Lever>(level->lever_doors, std::move(off), std::move(lit), on);
    lever->off_sound = take_sound(off_sound, __func__);
    lever->on_sound = take_sound_for(on_sound, off_sound, lever->off_sound.get(), __func__);
    objects().put(name, std::move(lever));
}

void LuaFunctions::add_lever_door_signal(int32_t lever_id, bool lever_state, int32_t door_id,
                                         bool open) {
    if (Level* level = current_level(__func__))
        level->lever_doors.add_signal({lever_id, lever_state, door_id, open});
}

void LuaFunctions::use_lever(int32_t lever_id) {
    Level* level = current_level(__func__);
    if (!level)
        return;
    if (!level->lever_doors.find_lever(lever_id))
        ScriptErrorLog::missing(__func__, "lever with id", lever_id);
    level->lever_doors.use_lever(lever_id);
}
