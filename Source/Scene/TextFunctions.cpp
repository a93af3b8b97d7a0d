// Script functions of text spitters, and the measuring of text.
#include <algorithm>
#include <cmath>

#include "Render/FontMap.h"
#include "Render/LetterTable.h"
#include "Render/Registries.h"
#include "Scene/Hud.h"
#include "Scene/Level.h"
#include "Scene/RemorfableSprite.h"
#include "Scene/TempLists.h"
#include "Scene/TextSpitter.h"
#include "Script/LuaFunctions.h"
#include "Script/ScriptErrorLog.h"
#include "Shell/Game.h"

namespace {

TextSpitter* find_spitter(const std::string& name) {
    return dynamic_cast<TextSpitter*>(TempLists::instance().game_objects.find(name));
}

// The text spitter an uploaded object shows, looking through a HUD and a key-frame sprite.
TextSpitter* spitter_in(GameObject* object) {
    if (auto* hud = dynamic_cast<Hud*>(object))
        object = hud->target.get();
    if (auto* morph = dynamic_cast<RemorfableSprite*>(object))
        object = morph->target.get();
    return dynamic_cast<TextSpitter*>(object);
}

// Calls line(begin, end) for each line of text, split at "\n"; nothing for an empty text.
template <class F>
void for_each_line(const std::string& text, F line) {
    if (text.empty())
        return;
    size_t start = 0;
    for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        line(start, end);
        start = end + 1;
    }
    line(start, text.size());
}

struct Extent {
    float width = 0.0f;
    float height = 0.0f;
};

// The box a text spitter of that scale lays the lines out in.
Extent measure(const FontMap& font, const std::string& text, float scale) {
    size_t longest = 0, lines = 0;
    for_each_line(text, [&](size_t begin, size_t end) {
        longest = std::max(longest, end - begin);
        ++lines;
    });
    if (lines == 0)
        return {};
    const float t = static_cast<float>(longest), n = static_cast<float>(lines);
    Extent e;
    if (longest > 0)
        e.width = (font.letter_spacing * (t - 1.0f) + font.letter_width * t) * scale;
    e.height = (font.line_spacing * (n - 1.0f) + font.letter_height * n) * scale;
    return e;
}

// Letters height units high, without gaps, as dialog lines lay them out; characters without a
// letter take no room.
Extent measure(const LetterTable& font, const std::string& text, float height) {
    Extent e;
    size_t lines = 0;
    for_each_line(text, [&](size_t begin, size_t end) {
        e.width =
            std::max(e.width, font.line_width(text.substr(begin, end - begin), height, 0.0f, 1.0f));
        ++lines;
    });
    e.height = height * static_cast<float>(lines);
    return e;
}

Extent measure_text(const char* function, const std::string& font_name, const std::string& text,
                    float scale) {
    if (const FontMap* map = FontMapRegistry::instance().find(font_name))
        return measure(*map, text, scale);
    if (const LetterTable* table = Game::instance().find_font(font_name))
        return measure(*table, text, scale);
    ScriptErrorLog::missing(function, "font", font_name);
    return {};
}

// Sizes a script can use: finite, so a huge scale gives a huge number, not infinity.
float finite_or_zero(float v) {
    return std::isfinite(v) ? v : 0.0f;
}

}  // namespace

void LuaFunctions::create_text(const std::string& name, const std::string& font, float x, float y,
                               float period, float scale) {
    TempList<GameObject>& objects = TempLists::instance().game_objects;
    if (objects.contains(name))
        return;
    if (!FontMapRegistry::instance().find(font))
        ScriptErrorLog::missing(__func__, "font map", font);
    auto spitter = std::make_unique<TextSpitter>();
    spitter->set_font(font);
    spitter->countdown = period;
    spitter->period = period;
    spitter->transform.scale = scale;
    spitter->layout();
    spitter->transform.position = {x, y};
    objects.put(name, std::move(spitter));
}

void LuaFunctions::text_color(const std::string& name, float r, float g, float b, float a) {
    // As sprite_color does.
    if (auto* sprite = dynamic_cast<Sprite*>(TempLists::instance().game_objects.find(name)))
        sprite->colour = {r, g, b, a};
    else
        ScriptErrorLog::missing(__func__, "sprite", name);
}

void LuaFunctions::add_text(const std::string& name, const std::string& text) {
    if (TextSpitter* spitter = find_spitter(name))
        spitter->add_text(text);
    else
        ScriptErrorLog::missing(__func__, "text", name);
}

// Engine extensions.

void LuaFunctions::text_replace(int32_t layer_index, int32_t id, const std::string& text) {
    Level* level = Game::instance().level.get();
    Layer* layer = level ? level->layer_at(layer_index) : nullptr;
    if (!layer) {
        ScriptErrorLog::missing(__func__, "layer", layer_index);
        return;
    }
    if (TextSpitter* spitter = spitter_in(layer->find_by_id(id)))
        spitter->replace_text(text);
    else
        ScriptErrorLog::missing(__func__, "text with id", id);
}

float LuaFunctions::get_text_width(const std::string& font, const std::string& text, float scale) {
    return finite_or_zero(measure_text(__func__, font, text, scale).width);
}

float LuaFunctions::get_text_height(const std::string& font, const std::string& text, float scale) {
    return finite_or_zero(measure_text(__func__, font, text, scale).height);
}
