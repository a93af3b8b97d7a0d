#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Scene/SpitLetter.h"
#include "Scene/Sprite.h"

class FontMap;

// Text from a font map laid out on a grid of equal cells, shown one letter per period like a
// typewriter. Its corners are the text box, centred on the position.
class TextSpitter : public Sprite {
  public:
    TextSpitter();

    void draw(Renderer& renderer, const Color& tint) override;
    bool update(float dt) override;
    std::unique_ptr<Sprite> clone() const override;

    // Uses the font map registered under name and lays out again; nothing when there is none.
    void set_font(const std::string& name);
    // Appends a line.
    void add_text(const std::string& text);
    // Replaces every line with the lines of text (split at "\n") and types them out again from
    // the first letter; with a period of 0 or less they show at once.
    void replace_text(const std::string& text);
    void clear();
    // Fits the box to the lines.
    void layout();

    const FontMap* font = nullptr;  // not owned
    std::vector<std::string> lines;
    std::vector<SpitLetter> letters;  // shown so far, in order
    float countdown = 0.0f;
    float period = 0.0f;
    int32_t spat = 0;   // the next letter to show, in reading order over all lines
    int32_t total = 0;  // letters in all lines

  private:
    void show(int32_t index);
};
