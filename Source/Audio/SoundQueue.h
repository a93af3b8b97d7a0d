#pragma once

#include <string>
#include <vector>

class MusicEngine;
class Sound;

// The positional sounds offered during a frame, started together once per frame. The listener
// hears a sound within its range, louder the nearer it is, and from the side it is on.
class SoundQueue {
  public:
    SoundQueue();

    void set_listener(float x, float y) {
        listener_x = x;
        listener_y = y;
    }
    // Keeps the sound for this frame's flush when the listener is within its range. A sound
    // offered twice plays twice.
    void offer(const Sound& sound);
    // Starts every pending sound, then forgets them all.
    void flush(MusicEngine& engine);
    size_t pending() const { return count_; }

    // Loudness 0..1 and side -1 (left) .. 1 (right) of a sound at (x, y) with that range.
    float gain(float x, float y, float range) const;
    float pan(float x) const;

    float listener_x = 0.0f;
    float listener_y = 0.0f;

  private:
    // What is needed to play a sound, taken when it is offered: an owner may be destroyed
    // before the flush (a one-shot effect is, as soon as it has played), and its sound was
    // still made. Entries are reused from frame to frame, so offering allocates nothing once
    // the queue has grown.
    struct Pending {
        std::string path;
        float x = 0.0f;
        float y = 0.0f;
        float range = 0.0f;
    };
    std::vector<Pending> pending_;
    size_t count_ = 0;
};
