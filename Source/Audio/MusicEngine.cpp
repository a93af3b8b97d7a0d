#include "Audio/MusicEngine.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t frequency = 44100;
constexpr int32_t buffer_frames = 1024;

int32_t to_mixer_volume(float volume) {
    return static_cast<int32_t>(std::lround(std::clamp(volume, 0.0f, 1.0f) * MIX_MAX_VOLUME));
}

uint8_t to_pan_level(float level) {
    return static_cast<uint8_t>(std::lround(std::clamp(level, 0.0f, 1.0f) * 255.0f));
}

}  // namespace

MusicEngine::~MusicEngine() {
    if (ready_) {
        Mix_HaltChannel(-1);
        for (auto& [path, chunk] : chunks_)
            if (chunk)
                Mix_FreeChunk(chunk);
        Mix_CloseAudio();
    }
    if (sdl_audio_) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

bool MusicEngine::init() {
    if (ready_)
        return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    sdl_audio_ = true;
    // Decoders beyond WAV are optional: whatever is missing just fails to load its files.
    Mix_Init(MIX_INIT_OGG | MIX_INIT_FLAC | MIX_INIT_MP3);
    if (Mix_OpenAudio(frequency, AUDIO_S16SYS, 2, buffer_frames) != 0)
        return false;
    if (Mix_AllocateChannels(max_channels) != max_channels) {
        Mix_CloseAudio();
        return false;
    }
    Mix_MasterVolume(MIX_MAX_VOLUME);
    ready_ = true;
    return true;
}

void MusicEngine::reset() {
    if (!ready_)
        return;
    Mix_HaltChannel(-1);
    for (auto& [path, chunk] : chunks_)
        if (chunk)
            Mix_FreeChunk(chunk);
    chunks_.clear();
    channels_ = {};
    music_paused_ = false;
    music_volume_ = 1.0f;
    sfx_volume_ = 1.0f;
    Mix_MasterVolume(MIX_MAX_VOLUME);
}

int32_t MusicEngine::playing_count() const {
    return ready_ ? Mix_Playing(-1) : 0;
}

std::string MusicEngine::sound_name(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

Mix_Chunk* MusicEngine::chunk(const std::string& path) {
    if (path.empty())
        return nullptr;
    auto it = chunks_.find(path);
    if (it != chunks_.end())
        return it->second;
    Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
    chunks_.emplace(path, chunk);
    return chunk;
}

bool MusicEngine::in_group(int32_t channel, Group group) const {
    return channels_[channel].group == group && Mix_Playing(channel);
}

int32_t MusicEngine::group_volume(Group group) const {
    return to_mixer_volume(group == background ? music_volume_ : sfx_volume_);
}

int32_t MusicEngine::start(Mix_Chunk* chunk, Group group, int32_t loops, float gain, float pan) {
    const int32_t channel = Mix_GroupAvailable(-1);
    if (channel < 0)
        return -1;
    // Everything about the channel is set before it starts, so its first samples already
    // come out at the right level and side. A channel that will be paused at once starts
    // silent.
    const bool paused = group == background && music_paused_;
    Mix_GroupChannel(channel, group);
    Mix_Volume(channel, paused ? 0 : group_volume(group));
    if (!std::isfinite(gain))
        gain = 0.0f;
    if (!std::isfinite(pan))
        pan = 0.0f;
    pan = std::clamp(pan, -1.0f, 1.0f);
    const float left = pan > 0.0f ? 1.0f - pan : 1.0f;
    const float right = pan < 0.0f ? 1.0f + pan : 1.0f;
    Mix_SetPanning(channel, to_pan_level(gain * left), to_pan_level(gain * right));
    if (Mix_PlayChannel(channel, chunk, loops) != channel)
        return -1;
    if (paused) {
        pause_channel(channel);
        Mix_Volume(channel, group_volume(group));
    }
    return channel;
}

void MusicEngine::play_sfx(const std::string& path, float gain, float pan) {
    if (!ready_)
        return;
    Mix_Chunk* sound = chunk(path);
    if (!sound)
        return;
    const int32_t channel = start(sound, effects, 0, gain, pan);
    if (channel >= 0)
        channels_[channel] = {effects, sound_name(path)};
}

void MusicEngine::add_music(const std::string& path) {
    if (!ready_)
        return;
    Mix_Chunk* sound = chunk(path);
    if (!sound)
        return;
    const int32_t channel = start(sound, background, -1, 1.0f, 0.0f);
    if (channel >= 0)
        channels_[channel] = {background, sound_name(path)};
}

void MusicEngine::stop_channel(int32_t channel) {
    Mix_HaltChannel(channel);
    channels_[channel] = {};
}

void MusicEngine::reset_music() {
    if (!ready_)
        return;
    for (int32_t channel = 0; channel < max_channels; ++channel)
        if (channels_[channel].group == background)
            stop_channel(channel);
}

void MusicEngine::remove_music(const std::string& name) {
    if (!ready_)
        return;
    for (int32_t channel = 0; channel < max_channels; ++channel)
        if (channels_[channel].group == background && channels_[channel].name == name)
            stop_channel(channel);
}

void MusicEngine::set_master_volume(float volume) {
    if (ready_)
        Mix_MasterVolume(to_mixer_volume(volume));
}

void MusicEngine::set_music_volume(float volume) {
    if (!ready_)
        return;
    music_volume_ = std::clamp(volume, 0.0f, 1.0f);
    for (int32_t channel = 0; channel < max_channels; ++channel)
        if (in_group(channel, background))
            Mix_Volume(channel, group_volume(background));
}

void MusicEngine::set_sfx_volume(float volume) {
    if (!ready_)
        return;
    sfx_volume_ = std::clamp(volume, 0.0f, 1.0f);
    for (int32_t channel = 0; channel < max_channels; ++channel)
        if (in_group(channel, effects))
            Mix_Volume(channel, group_volume(effects));
}

void MusicEngine::pause_channel(int32_t channel) {
    // The mixer marks a paused channel with the tick count of the moment; at tick 0 the mark
    // reads as "not paused" and the pause is lost. Wait for the first tick and pause again.
    Mix_Pause(channel);
    for (int tries = 0; tries < 50 && Mix_Playing(channel) && !Mix_Paused(channel); ++tries) {
        SDL_Delay(1);
        Mix_Pause(channel);
    }
}

void MusicEngine::set_music_paused(bool paused) {
    if (!ready_)
        return;
    music_paused_ = paused;
    for (int32_t channel = 0; channel < max_channels; ++channel) {
        if (!in_group(channel, background))
            continue;
        if (paused)
            pause_channel(channel);
        else
            Mix_Resume(channel);
    }
}

std::string MusicEngine::track_names() const {
    std::string names;
    if (!ready_)
        return names;
    for (int32_t channel = 0; channel < max_channels; ++channel) {
        if (!in_group(channel, background))
            continue;
        if (!names.empty())
            names += ' ';
        names += channels_[channel].name;
    }
    return names;
}
