#pragma once

#include <array>
#include <cstdint>

class Game;
class Renderer;
class ScreenFont;

// The author's frame overlay: frames per second, the split of each frame's time into script,
// update, draw and present as a graph of the last frames, and counts of what the game holds.
class FrameOverlay {
  public:
    static constexpr int32_t history = 120;

    struct Times {
        float script_ms = 0.0f;
        float update_ms = 0.0f;  // the frame's update without its scripts
        float draw_ms = 0.0f;
        float present_ms = 0.0f;
    };
    struct Counts {
        int32_t layer_objects = 0;  // objects in the level's layers
        int32_t triggers = 0;
        int32_t particles = 0;  // live particles, in emitters or on their own
        int32_t ai_states = 0;
        int32_t sounds = 0;  // channels playing
        bool operator==(const Counts&) const = default;
    };

    // What the game holds now.
    static Counts count(const Game& game);

    // A frame's times and the real time since the previous frame began.
    void record(const Times& times, float interval_ms);
    // Frames per second over the recorded frames; 0 before there are any.
    float frames_per_second() const;
    int32_t recorded() const { return count_; }
    // The times of a recorded frame, 0 the newest.
    const Times& frame(int32_t age) const;

    // Draws in window pixels at the window's top-left corner: the renderer's camera must show
    // them (0..width, 0..height).
    void draw(Renderer& renderer, ScreenFont& font, const Counts& counts, int32_t height) const;

  private:
    std::array<Times, history> times_{};
    std::array<float, history> intervals_{};
    int32_t next_ = 0;
    int32_t count_ = 0;
};
