// Script functions of unstable floors.
#include "Audio/MusicRecord.h"
#include "Audio/Sound.h"
#include "Mechanisms/UnstableFloor.h"
#include "Scene/AnimatedSprite.h"
#include "Scene/Level.h"
#include "Scene/TempLists.h"
#include "Script/LuaFunctions.h"
#include "Script/ScriptErrorLog.h"
#include "Shell/Game.h"

namespace {

// The floor with the id in the current level; a script naming none is told at level 2.
UnstableFloor* floor_with(int32_t id, const char* function) {
    Level* level = Game::instance().level.get();
    UnstableFloor* floor = level ? level->unstable_floors.find_by_id(id) : nullptr;
    if (!floor)
        ScriptErrorLog::missing(function, "unstable floor with id", id);
    return floor;
}

// An animated sprite the temp list owns, taken out with its name; null otherwise.
std::unique_ptr<AnimatedSprite> take_animated(const std::string& name, const char* function) {
    TempList<GameObject>& objects = TempLists::instance().game_objects;
    if (!dynamic_cast<AnimatedSprite*>(objects.find(name)) || !objects.owns(name)) {
        ScriptErrorLog::missing(function, "animated sprite", name);
        return nullptr;
    }
    return std::unique_ptr<AnimatedSprite>(
        static_cast<AnimatedSprite*>(objects.take(name).release()));
}

}  // namespace

void LuaFunctions::unstablefloor_create(int32_t id, float restore_time, float fall_delay,
                                        int32_t layer_index) {
    Level* level = Game::instance().level.get();
    Layer* layer = level ? level->layer_at(layer_index) : nullptr;
    // Without a layer the floor would have no owner: nothing is made.
    if (!layer) {
        ScriptErrorLog::missing(__func__, "layer", layer_index);
        return;
    }
    auto floor = std::make_unique<UnstableFloor>(restore_time, fall_delay);
    floor->id = id;
    level->unstable_floors.add(floor.get());
    level->add_object(*layer, std::move(floor));
}

void LuaFunctions::unstablefloor_segmentstrip(int32_t id, int32_t strip_code) {
    UnstableFloor* floor = floor_with(id, __func__);
    if (!floor)
        return;
    for (const auto& strip : Game::instance().level->segment_strips) {
        if (strip->code == strip_code) {
            floor->strip = Ref<SegmentStrip>(strip.get());
            return;
        }
    }
    ScriptErrorLog::missing(__func__, "segment strip with code", strip_code);
}

void LuaFunctions::unstablefloor_animations(int32_t id, const std::string& solid_sprite,
                                            const std::string& fallen_sprite,
                                            const std::string& crumbling_sprite) {
    UnstableFloor* floor = floor_with(id, __func__);
    if (!floor)
        return;
    if (auto sprite = take_animated(solid_sprite, __func__))
        floor->set_solid_sprite(std::move(sprite));
    if (auto sprite = take_animated(fallen_sprite, __func__))
        floor->set_fallen_sprite(std::move(sprite));
    if (auto sprite = take_animated(crumbling_sprite, __func__))
        floor->set_crumbling_sprite(std::move(sprite));
}

void LuaFunctions::unstablefloor_audio(int32_t id, const std::string& restore_sound,
                                       const std::string& fall_sound,
                                       const std::string& crumble_music) {
    UnstableFloor* floor = floor_with(id, __func__);
    if (!floor)
        return;
    TempLists& temp = TempLists::instance();
    if (!temp.sounds.owns(restore_sound))
        ScriptErrorLog::missing(__func__, "sound", restore_sound);
    if (!temp.sounds.owns(fall_sound))
        ScriptErrorLog::missing(__func__, "sound", fall_sound);
    if (!temp.music.owns(crumble_music))
        ScriptErrorLog::missing(__func__, "music record", crumble_music);
    if (auto sound = temp.sounds.take(restore_sound))
        floor->restore_sound = std::move(sound);
    if (auto sound = temp.sounds.take(fall_sound))
        floor->fall_sound = std::move(sound);
    if (auto music = temp.music.take(crumble_music)) {
        // A track the floor started goes with the record that names it.
        if (floor->state == UnstableFloor::crumbling && floor->crumble_music)
            floor->crumble_music->stop();
        floor->crumble_music = std::move(music);
        if (floor->state == UnstableFloor::crumbling)
            floor->crumble_music->start();
    }
}
