#include "Flow/Dialog.h"

#include <algorithm>
#include <memory>
#include <string>

#include "Creatures/SuincideController.h"
#include "Platform/Keyboard.h"
#include "Platform/VirtualKeys.h"
#include "Scene/ColorScalingLerpController.h"
#include "Scene/Layer.h"
#include "Scene/MultilineText.h"
#include "Scene/RevealMLineTextController.h"
#include "Scene/SpeechBubble.h"
#include "Scene/Text.h"
#include "Script/ScriptHost.h"

namespace {

constexpr Color white_clear{1, 1, 1, 0}, white{1, 1, 1, 1};
constexpr Color black_clear{0, 0, 0, 0}, black{0, 0, 0, 1};
constexpr Color selected_colour{1, 0, 0, 1};

// Down now, or went down since the last look: a tap between two frames still counts.
bool key_down(int32_t vk) {
    Keyboard& keyboard = Keyboard::current();
    const bool went = keyboard.went_down(vk);
    return keyboard.is_down(vk) || went;
}

void fade(Entity& entity, const Color& from, const Color& to, float seconds) {
    entity.set_colour(from.r, from.g, from.b, from.a);
    entity.add_controller(std::make_unique<ColorScalingLerpController>(from, to, seconds));
}

// How far the text block sits from the bubble's anchor, for the bubble's two modes; w and h
// are the bubble's full size, rounded corners included.
Vector2 text_offset(int32_t h_mode, int32_t v_mode, float inset, float w, float h) {
    Vector2 d{0.0f, 0.0f};
    if (h_mode == 0)
        d.x = inset - w / 2.0f;
    else if (h_mode == 1)
        d.x = inset;
    else if (h_mode == 2)
        d.x = inset - w;
    if (v_mode == 0)
        d.y = h / 2.0f - inset;
    else if (v_mode == 1)
        d.y = h - inset;
    else if (v_mode == 2)
        d.y = -inset;
    return d;
}

std::unique_ptr<SpeechBubble> make_bubble(const DialogLine& line, float width, float height) {
    auto bubble = std::make_unique<SpeechBubble>();
    bubble->transform = line.placement;
    bubble->width = std::max(0.0f, width);
    bubble->height = std::max(0.0f, height);
    bubble->radius = line.corner_radius;
    bubble->tail_target = line.tail_point;
    bubble->h_align = line.h_mode;
    bubble->v_align = line.v_mode;
    return bubble;
}

}  // namespace

Dialog::Dialog(const LetterTables& fonts, Layer* bubble_layer, Layer* text_layer, float fade_in_,
               float fade_out_, float reveal_interval_)
    : fade_in(fade_in_),
      fade_out(fade_out_),
      reveal_interval(reveal_interval_),
      fonts_(fonts),
      bubble_layer_(bubble_layer),
      text_layer_(text_layer) {}

const DialogFrame* Dialog::find_frame(int32_t id) const {
    for (const DialogFrame& frame : frames)
        if (frame.id == id)
            return &frame;
    return nullptr;
}

const LetterTable* Dialog::find_font(const std::string& name) const {
    auto it = fonts_.find(name);
    return it == fonts_.end() ? nullptr : it->second.get();
}

void Dialog::update() {
    if (current_frame < 0)
        return;
    if (step_pending_) {
        step_pending_ = false;
        step();
        return;
    }

    const bool space = key_down(vk::space), up = key_down(vk::up), down = key_down(vk::down);
    const bool space_edge = space && !previous_space_;
    const bool up_edge = up && !previous_up_;
    const bool down_edge = down && !previous_down_;
    previous_space_ = space;
    previous_up_ = up;
    previous_down_ = down;

    if (open_question) {
        auto& options = open_question->options;
        const int32_t n = static_cast<int32_t>(options.size());
        // Without options there is nothing to choose.
        if (n > 0) {
            if (up_edge)
                selected = selected <= 0 ? n - 1 : selected - 1;
            else if (down_edge)
                selected = (selected + 1) % n;
        }
        for (int32_t i = 0; i < n; ++i)
            if (Text* text = options[i].text.get())
                text->colour = i == selected ? selected_colour : black;
    }

    if (!space_edge)
        return;

    for (size_t i = 0; i < active_lines.size();) {
        ActiveLine& line = active_lines[i];
        // A countdown of 1 or less (the lowest integer too) goes at this advance.
        if (line.countdown > 1) {
            --line.countdown;
            ++i;
            continue;
        }
        fade_away(line.text.get(), black, black_clear);
        fade_away(line.bubble.get(), white, white_clear);
        active_lines.erase(active_lines.begin() + static_cast<std::ptrdiff_t>(i));
    }

    const DialogFrame* frame = find_frame(current_frame);
    if (open_question) {
        const auto& options = open_question->options;
        if (!options.empty() && selected >= 0 && selected < static_cast<int32_t>(options.size()))
            current_frame = options[static_cast<size_t>(selected)].target;
        else  // a question without options moves on like a plain frame
            current_frame = frame ? frame->next : -1;
        for (const OpenOption& option : options)
            fade_away(option.text.get(), black, black_clear);
        fade_away(open_question->bubble.get(), white, white_clear);
        open_question.reset();
    } else {
        // A frame id that names no frame ends the dialog.
        current_frame = frame ? frame->next : -1;
    }
    if (current_frame >= 0)
        step();
}

void Dialog::step() {
    const DialogFrame* frame = find_frame(current_frame);
    if (!frame) {
        current_frame = -1;
        return;
    }
    if (!frame->script.empty()) {
        const int32_t id = current_frame;
        const std::string script = frame->script;
        ScriptHost::run_script(script, 0, "script of dialog frame", id);
        // The script may have replaced this dialog (it then lives until the dialog step ends)
        // or added frames, which moves them in memory.
        if (retired_)
            return;
        frame = find_frame(id);
        if (!frame) {
            current_frame = -1;
            return;
        }
    }
    for (const DialogLine& line : frame->lines)
        build_line(line);
    if (frame->question)
        open(*frame->question);
}

void Dialog::build_line(const DialogLine& line) {
    Layer* bubbles = bubble_layer_.get();
    Layer* texts = text_layer_.get();
    if (!bubbles || !texts)
        return;  // the level that held the layers is gone
    const float R = line.corner_radius, M = line.margin, G = line.line_gap;
    const float S = line.letter_size;

    const LetterTable* font = find_font(line.font);
    auto text = std::make_unique<MultilineText>();
    text->font = font;
    text->line_spacing = G;
    text->height = S;
    text->letter_spacing = line.letter_gap;
    text->scale = line.text_scale;
    text->h_align = 1;
    text->v_align = 2;
    text->line_align = line.text_align;
    text->lines = line.texts;

    const float n = static_cast<float>(line.texts.size());
    const float W = text->block_width();
    const float H = font ? n * S + std::max(n - 1.0f, 0.0f) * G : 0.0f;
    auto bubble = make_bubble(line, W + 2.0f * M, H + 2.0f * M);
    text->transform = line.placement;
    text->transform.position +=
        text_offset(line.h_mode, line.v_mode, R + M, W + 2.0f * (R + M), H + 2.0f * (R + M));

    fade(*bubble, white_clear, white, fade_in);
    fade(*text, black_clear, black, fade_in);
    // The reveal gives the lines back letter by letter.
    text->add_controller(
        std::make_unique<RevealMLineTextController>(std::move(text->lines), reveal_interval));
    text->lines.clear();

    active_lines.push_back({bubble.get(), text.get(), line.countdown});
    bubbles->add_object(std::move(bubble));
    texts->add_object(std::move(text));
}

void Dialog::open(const DialogQuestion& question) {
    Layer* bubbles = bubble_layer_.get();
    Layer* texts = text_layer_.get();
    if (!bubbles || !texts)
        return;
    selected = 0;
    const float R = question.corner_radius, M = question.margin, G = question.line_gap;
    const float S = question.letter_size;
    const float n = static_cast<float>(question.options.size());

    const LetterTable* font = find_font(question.font);
    OpenQuestion open;
    std::vector<std::unique_ptr<Text>> option_texts;
    float widest = 0.0f;
    for (size_t i = 0; i < question.options.size(); ++i) {
        auto text = std::make_unique<Text>();
        text->font = font;
        text->height = S;
        text->letter_spacing = question.letter_gap;
        text->scale = question.text_scale;
        text->h_align = 1;
        text->v_align = 2;
        text->text = question.options[i].text;
        if (i == 0)
            fade(*text, {1, 0.25f, 0, 0}, {1, 0.25f, 0, 1}, fade_in);
        else
            fade(*text, black_clear, black, fade_in);
        widest = std::max(widest, text->width());
        option_texts.push_back(std::move(text));
    }
    const float height = n * S + 2.0f * M + (n - 1.0f) * G;
    auto bubble = make_bubble(question, widest + 2.0f * M, height);
    fade(*bubble, white_clear, white, fade_in);
    const Vector2 d = text_offset(question.h_mode, question.v_mode, R + M,
                                  widest + 2.0f * M + 2.0f * R, height + 2.0f * R);
    open.bubble = bubble.get();
    bubbles->add_object(std::move(bubble));
    for (size_t i = 0; i < option_texts.size(); ++i) {
        Text& text = *option_texts[i];
        text.transform = question.placement;
        text.transform.position += Vector2{d.x, d.y - static_cast<float>(i) * (S + G)};
        open.options.push_back({&text, question.options[i].target});
        texts->add_object(std::move(option_texts[i]));
    }
    open_question = std::move(open);
}

void Dialog::fade_away(GameObject* object, const Color& from, const Color& to) {
    auto* entity = dynamic_cast<Entity*>(object);
    if (!entity)
        return;
    fade(*entity, from, to, fade_out);
    entity->add_controller(std::make_unique<SuincideController>(fade_out));
}
