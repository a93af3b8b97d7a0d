// Script functions of dialogs: the frame, line and question builders, and dialog fonts.
#include "Flow/Dialog.h"
#include "Render/FontBuilders.h"
#include "Render/Registries.h"
#include "Scene/Level.h"
#include "Scene/TempLists.h"
#include "Script/LuaFunctions.h"
#include "Script/ScriptErrorLog.h"
#include "Shell/Game.h"

namespace {

TempLists& lists() {
    return TempLists::instance();
}

// The line builder (kind 0) or the pending question (kind 1), or null.
DialogLine* builder(int32_t kind) {
    if (kind == 0)
        return lists().dialog_line.get();
    if (kind == 1)
        return lists().pending_question.get();
    return nullptr;
}

}  // namespace

void LuaFunctions::new_dialog(int32_t bubble_layer, int32_t text_layer, float fade_in,
                              float fade_out, float reveal_interval) {
    Level* level = Game::instance().level.get();
    Layer* bubbles = level ? level->layer_at(bubble_layer) : nullptr;
    Layer* texts = level ? level->layer_at(text_layer) : nullptr;
    if (!bubbles)
        ScriptErrorLog::missing(__func__, "layer", bubble_layer);
    if (!texts)
        ScriptErrorLog::missing(__func__, "layer", text_layer);
    if (!bubbles || !texts)
        return;
    Game::instance().replace_dialog(std::make_unique<Dialog>(Game::instance().fonts, bubbles, texts,
                                                             fade_in, fade_out, reveal_interval));
}

void LuaFunctions::new_frame(int32_t id, int32_t next) {
    DialogFrame& frame = *lists().dialog_frame;
    frame.question.reset();
    frame.lines.clear();
    frame.script.clear();
    frame.id = id;
    frame.next = next;
}

void LuaFunctions::frame_add_script(const std::string& path) {
    lists().dialog_frame->script = path;
}

void LuaFunctions::set_line_settings_1(int32_t kind, int32_t h_mode, int32_t v_mode,
                                       int32_t text_align, const std::string& font) {
    DialogLine* line = nullptr;
    if (kind == 0) {
        line = lists().dialog_line.get();
        line->text_align = text_align;
    } else if (kind == 1) {
        lists().pending_question = std::make_unique<DialogQuestion>();
        line = lists().pending_question.get();
    } else {
        return;
    }
    line->h_mode = h_mode;
    line->v_mode = v_mode;
    line->font = font;
}

void LuaFunctions::set_line_settings_2(int32_t kind, float corner_radius, float margin,
                                       float line_gap, float letter_size, float letter_gap,
                                       float text_scale) {
    if (DialogLine* line = builder(kind)) {
        line->corner_radius = corner_radius;
        line->margin = margin;
        line->line_gap = line_gap;
        line->letter_size = letter_size;
        line->letter_gap = letter_gap;
        line->text_scale = text_scale;
    }
}

void LuaFunctions::new_line(int32_t kind, float x, float y, float tail_x, float tail_y,
                            int32_t countdown) {
    DialogLine* line = builder(kind);
    if (!line)
        return;
    line->placement.position = {x, y};
    line->tail_point = {tail_x, tail_y};
    if (kind == 0) {
        line->countdown = countdown;
        line->texts.clear();
    }
}

void LuaFunctions::add_line_text(const std::string& text) {
    lists().dialog_line->texts.push_back(text);
}

void LuaFunctions::add_question_option(const std::string& text, int32_t target) {
    if (DialogQuestion* question = lists().pending_question.get())
        question->options.push_back({text, target});
}

void LuaFunctions::upload_line() {
    lists().dialog_frame->lines.push_back(*lists().dialog_line);
}

void LuaFunctions::upload_question() {
    if (lists().pending_question)
        lists().dialog_frame->question = std::move(lists().pending_question);
}

void LuaFunctions::upload_frame() {
    if (Dialog* dialog = Game::instance().dialog.get())
        dialog->frames.push_back(*lists().dialog_frame);
}

void LuaFunctions::create_dialog_font(const std::string& name, int32_t cell_width,
                                      int32_t cell_height, int32_t columns, int32_t count) {
    Texture* texture = TextureRegistry::instance().find(name);
    if (!texture) {
        ScriptErrorLog::missing(__func__, "texture", name);
        return;
    }
    auto& fonts = Game::instance().fonts;
    // A picture the cells do not fit leaves the name without a font.
    if (auto table = build_grid_font(texture, cell_width, cell_height, columns, count, 32))
        fonts[name] = std::move(table);
    else
        fonts.erase(name);
}
