#pragma once

#include <cstdint>
#include <deque>
#include <string>

class Renderer;
class ScreenFont;

// The last script errors, in a strip at the bottom of the window over the game: each message
// for a few seconds, or until cleared while the start-up failed.
class ErrorStrip {
  public:
    static constexpr uint32_t show_ms = 5000;
    static constexpr size_t max_lines = 4;

    struct Line {
        std::string text;
        uint32_t at_ms;
    };

    // Adds a message as the newest line; control characters become spaces. Beyond max_lines the
    // oldest goes.
    void add(const std::string& message, uint32_t now_ms);
    // Keeps every line until clear, under a heading.
    void pin(const char* heading) { pinned_ = heading; }
    void clear();
    bool pinned() const { return pinned_ != nullptr; }
    // Whether anything is drawn at this time.
    bool showing(uint32_t now_ms) const;
    const std::deque<Line>& lines() const { return lines_; }

    // Draws in window pixels: the renderer's camera must show them (0..width, 0..height).
    void draw(Renderer& renderer, ScreenFont& font, int32_t width, uint32_t now_ms) const;

  private:
    bool shows(const Line& line, uint32_t now_ms) const;

    std::deque<Line> lines_;
    const char* pinned_ = nullptr;
};
