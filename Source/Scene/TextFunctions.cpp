// Script functions of text spitters.
#include "Scene/TempLists.h"
#include "Scene/TextSpitter.h"
#include "Script/LuaFunctions.h"

namespace {

TextSpitter* find_spitter(const std::string& name) {
    return dynamic_cast<TextSpitter*>(TempLists::instance().game_objects.find(name));
}

}  // namespace

void LuaFunctions::create_text(const std::string& name, const std::string& font, float x, float y,
                               float period, float scale) {
    TempList<GameObject>& objects = TempLists::instance().game_objects;
    if (objects.contains(name))
        return;
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
    sprite_color(name, r, g, b, a);
}

void LuaFunctions::add_text(const std::string& name, const std::string& text) {
    if (TextSpitter* spitter = find_spitter(name))
        spitter->add_text(text);
}
