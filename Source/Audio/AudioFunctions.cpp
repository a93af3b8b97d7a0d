// Script functions of music, sound effects and positional sounds.
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "Audio/MusicEngine.h"
#include "Audio/MusicRecord.h"
#include "Audio/Sound.h"
#include "Audio/SoundEffect.h"
#include "Audio/SoundVarietyCollection.h"
#include "Scene/TempLists.h"
#include "Script/LuaFunctions.h"
#include "Script/ScriptErrorLog.h"
#include "Shell/Game.h"

namespace {

MusicEngine* engine() {
    return Game::instance().music.get();
}

// At level 2 of the script error log, a sound file the script names that does not exist.
void check_file(const std::string& path, const char* function) {
    if (!ScriptErrorLog::reports_missing() || path.empty())
        return;
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        ScriptErrorLog::missing(function, "sound file", path);
}

// The sound of that name in the sound temp list, or null (told at level 2).
Sound* find_sound(const std::string& name, const char* function) {
    Sound* sound = TempLists::instance().sounds.find(name);
    if (!sound)
        ScriptErrorLog::missing(function, "sound", name);
    return sound;
}

// Strictly between 0 and 1; NaN is outside.
bool open_unit(float v) {
    return v > 0.0f && v < 1.0f;
}

}  // namespace

void LuaFunctions::set_master_volume(float volume) {
    if (volume >= 0.0f && volume <= 1.0f)
        if (MusicEngine* e = engine())
            e->set_master_volume(volume);
}

void LuaFunctions::set_music_volume(float volume) {
    if (open_unit(volume))
        if (MusicEngine* e = engine())
            e->set_music_volume(volume);
}

void LuaFunctions::set_sfx_volume(float volume) {
    if (open_unit(volume))
        if (MusicEngine* e = engine())
            e->set_sfx_volume(volume);
}

void LuaFunctions::play_sfx(const std::string& path) {
    check_file(path, __func__);
    if (MusicEngine* e = engine())
        e->play_sfx(path);
}

void LuaFunctions::add_music(const std::string& path) {
    check_file(path, __func__);
    if (MusicEngine* e = engine())
        e->add_music(path);
}

void LuaFunctions::reset_music() {
    if (MusicEngine* e = engine())
        e->reset_music();
}

void LuaFunctions::remove_music(const std::string& name) {
    if (MusicEngine* e = engine())
        e->remove_music(name);
}

void LuaFunctions::set_audio_pause(bool paused) {
    if (MusicEngine* e = engine())
        e->set_music_paused(paused);
}

bool LuaFunctions::is_audio_paused() {
    MusicEngine* e = engine();
    return e && e->music_paused();
}

void LuaFunctions::create_sound(const std::string& name, const std::string& path, float range,
                                float x, float y) {
    check_file(path, __func__);
    TempLists::instance().sounds.put(name, std::make_unique<Sound>(path, range, x, y));
}

void LuaFunctions::create_sound_variety_collection(const std::string& name, float range, float x,
                                                   float y) {
    // A new collection reseeds the random picks from the clock.
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    TempLists::instance().sounds.put(name, std::make_unique<SoundVarietyCollection>(range, x, y));
}

void LuaFunctions::add_sound_to_variety_collection(const std::string& name,
                                                   const std::string& path) {
    check_file(path, __func__);
    if (Sound* sound = find_sound(name, __func__))
        sound->add_path(path);
}

void LuaFunctions::create_sound_effect(const std::string& name, const std::string& sound_name,
                                       float interval, bool repeat) {
    std::unique_ptr<Sound> sound = TempLists::instance().sounds.take(sound_name);
    if (!sound) {
        ScriptErrorLog::missing(__func__, "sound", sound_name);
        return;
    }
    TempLists::instance().game_objects.put(
        name, std::make_unique<SoundEffect>(std::move(sound), interval, repeat));
}

void LuaFunctions::create_music(const std::string& name, const std::string& path) {
    check_file(path, __func__);
    TempLists::instance().music.put(name, std::make_unique<MusicRecord>(path));
}

void LuaFunctions::remove_sound_from_sounds_temp(const std::string& name) {
    if (!TempLists::instance().sounds.contains(name))
        ScriptErrorLog::missing(__func__, "sound", name);
    TempLists::instance().sounds.forget(name);
}
