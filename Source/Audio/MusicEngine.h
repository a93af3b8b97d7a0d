#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>

struct Mix_Chunk;

// All sound goes through here: looping music tracks in the "Background" group and one-shot
// effects in the "Effects" group, each group with its own volume, under one master volume.
// When audio cannot start, every operation does nothing.
class MusicEngine {
  public:
    static constexpr int32_t max_channels = 32;

    MusicEngine() = default;
    MusicEngine(const MusicEngine&) = delete;
    MusicEngine& operator=(const MusicEngine&) = delete;
    ~MusicEngine();

    // Opens the audio device and the mixer; false when there is no working audio.
    bool init();
    bool ready() const { return ready_; }
    // Stops every channel and forgets the decoded sounds, the volumes and the pause, as a new
    // engine just after init, while the device stays open (a restart of the game).
    void reset();

    // Plays a file once in the effects group: gain 0..1 scales it, pan -1 (left) .. 1 (right).
    void play_sfx(const std::string& path, float gain = 1.0f, float pan = 0.0f);
    // Starts a file looping in the background group; several tracks may play at once.
    void add_music(const std::string& path);
    // Stops every track.
    void reset_music();
    // Stops every track whose sound name (the file name after the last "/") equals name.
    void remove_music(const std::string& name);

    // Volumes 0..1.
    void set_master_volume(float volume);
    void set_music_volume(float volume);
    void set_sfx_volume(float volume);
    // Pauses or resumes the music only; effects keep playing.
    void set_music_paused(bool paused);
    bool music_paused() const { return music_paused_; }

    // The sound names of the tracks playing now, in channel order.
    std::string track_names() const;
    // How many channels are playing now, music and effects.
    int32_t playing_count() const;

    // What a track started from path reports as its sound name.
    static std::string sound_name(const std::string& path);

  private:
    enum Group : int32_t { none = 0, background = 1, effects = 2 };
    struct Channel {
        Group group = none;
        std::string name;
    };

    Mix_Chunk* chunk(const std::string& path);
    int32_t start(Mix_Chunk* chunk, Group group, int32_t loops, float gain, float pan);
    void pause_channel(int32_t channel);
    void stop_channel(int32_t channel);
    bool in_group(int32_t channel, Group group) const;
    int32_t group_volume(Group group) const;

    bool sdl_audio_ = false;
    bool ready_ = false;
    bool music_paused_ = false;
    float music_volume_ = 1.0f;
    float sfx_volume_ = 1.0f;
    std::array<Channel, max_channels> channels_;
    // Decoded sounds by path; a file that fails to decode is remembered as null and not read
    // again.
    std::unordered_map<std::string, Mix_Chunk*> chunks_;
};
