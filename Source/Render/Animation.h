#pragma once

#include <cstdint>
#include <vector>

struct SubTexture;

// Sub-textures shown one after another, each for its own duration. The registered animation is
// a template: every user copies it and plays its own copy (the copy shares the sub-textures).
class Animation {
  public:
    struct Frame {
        SubTexture* subtexture;  // not owned
        float duration;          // seconds
    };

    // What happens at the end of the frame list. Other values wrap around too.
    enum LoopMode : int32_t { wrap = 0, stop = 1, ping_pong = 2 };

    Animation() = default;
    Animation(int32_t loop_mode_, int32_t direction_)
        : direction(direction_), loop_mode(loop_mode_) {}

    // Appends a frame; the first one also starts its time.
    void add_frame(SubTexture* subtexture, float duration);
    // Moves the playback on by dt seconds, through as many frames as that time covers. An
    // animation with fewer than two frames never changes. Frames of zero or negative duration
    // take no time; when a whole cycle of frames passes without taking any time (every frame
    // still to come is empty, or too short to count against dt), the animation stays where
    // that cycle began and the rest of dt is dropped.
    void advance(float dt);
    // Back to the first frame with its full duration; direction and loop mode stay.
    void reset();
    // The frame to draw, or null when there are no frames.
    const Frame* current_frame() const;

    std::vector<Frame> frames;
    int32_t direction = 0;  // 0 forward, anything else backward
    int32_t loop_mode = wrap;
    float time_left = 0.0f;  // seconds left in the current frame
    int32_t index = 0;

  private:
    // Goes to the next frame in the playing direction, turning or stopping at the ends.
    void step();
};
