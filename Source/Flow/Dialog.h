#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "Core/Tracked.h"
#include "Flow/DialogFrame.h"
#include "Render/Color.h"
#include "Render/LetterTable.h"
#include "Scene/GameObject.h"

class Layer;
class MultilineText;
class SpeechBubble;
class Text;

// A conversation shown as speech bubbles in two layers of the level: frames of lines, some
// ending in a question. The space bar advances; the arrow keys choose an answer.
class Dialog {
  public:
    // Lines look their font up in fonts when their bubble is built, so fonts made later are
    // found; fonts must outlive the dialog.
    Dialog(const LetterTables& fonts, Layer* bubble_layer, Layer* text_layer, float fade_in,
           float fade_out, float reveal_interval);

    // One frame of the dialog state: shows the first frame, then follows the keys.
    void update();
    // Shows the current frame: its script, its bubbles, its question.
    void step();

    // The game no longer holds this dialog (a newer one replaced it); a step under way stops.
    void retire() { retired_ = true; }
    bool finished() const { return current_frame < 0; }

    std::vector<DialogFrame> frames;
    int32_t current_frame = 0;  // below 0: finished
    float fade_in = 0.5f;
    float fade_out = 0.5f;
    float reveal_interval = 0.0f;
    int32_t selected = 0;

    struct ActiveLine {
        Ref<SpeechBubble> bubble;
        Ref<MultilineText> text;
        int32_t countdown;
    };
    struct OpenOption {
        Ref<Text> text;
        int32_t target;
    };
    struct OpenQuestion {
        Ref<SpeechBubble> bubble;
        std::vector<OpenOption> options;
    };
    std::vector<ActiveLine> active_lines;
    std::optional<OpenQuestion> open_question;

  private:
    const DialogFrame* find_frame(int32_t id) const;
    const LetterTable* find_font(const std::string& name) const;
    void build_line(const DialogLine& line);
    void open(const DialogQuestion& question);
    // A fade to transparent and removal after the fade-out time.
    void fade_away(GameObject* object, const Color& from, const Color& to);

    const LetterTables& fonts_;
    Ref<Layer> bubble_layer_;
    Ref<Layer> text_layer_;
    bool previous_space_ = true;  // a space held when the dialog starts is no advance
    bool previous_up_ = false;
    bool previous_down_ = false;
    bool step_pending_ = true;
    bool retired_ = false;
};
