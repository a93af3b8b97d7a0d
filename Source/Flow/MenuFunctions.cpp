// Script functions of key names, buttons and the menu focus.
#include "Flow/KeyNames.h"
#include "Flow/MenuInput.h"
#include "Flow/TextureButton.h"
#include "Scene/TempLists.h"
#include "Script/LuaFunctions.h"
#include "Script/ScriptErrorLog.h"
#include "Shell/Game.h"

namespace {

TempList<GameObject>& objects() {
    return TempLists::instance().game_objects;
}

// The button waiting under that name; a game object of another kind counts as absent.
Button* find_button(const std::string& name) {
    return dynamic_cast<Button*>(objects().find(name));
}

// The same for a name the script means to be there; told at level 2 when it is not.
Button* find_button(const std::string& name, const char* function) {
    Button* button = find_button(name);
    if (!button)
        ScriptErrorLog::missing(function, "button", name);
    return button;
}

// Takes a look for a button; a name that is not there is told at level 2.
std::unique_ptr<GameObject> take_look(const std::string& name, const char* function) {
    std::unique_ptr<GameObject> look = objects().take(name);
    if (!look)
        ScriptErrorLog::missing(function, "object", name);
    return look;
}

}  // namespace

void LuaFunctions::add_vk_pair(int32_t code, const std::string& name) {
    KeyNames::instance().add(code, name);
}

void LuaFunctions::create_button(const std::string& name, const std::string& normal_look,
                                 const std::string& focused_look, const std::string& press_sound,
                                 const std::string& focus_sound, const std::string& script) {
    auto button = std::make_unique<TextureButton>();
    button->normal_look = take_look(normal_look, __func__);
    button->focused_look = take_look(focused_look, __func__);
    if (!focus_sound.empty())
        button->focus_sound = focus_sound;
    if (!press_sound.empty())
        button->press_sound = press_sound;
    button->script = script;
    objects().put(name, std::move(button));
}

void LuaFunctions::button_dependencies(const std::string& name, const std::string& up,
                                       const std::string& down, const std::string& left,
                                       const std::string& right) {
    Button* button = find_button(name, __func__);
    if (!button)
        return;
    // A neighbour name that names no button leaves that neighbour as it was.
    if (Button* b = find_button(up, __func__))
        button->up = b;
    if (Button* b = find_button(down, __func__))
        button->down = b;
    if (Button* b = find_button(left, __func__))
        button->left = b;
    if (Button* b = find_button(right, __func__))
        button->right = b;
}

void LuaFunctions::set_focused_button(const std::string& name) {
    MenuInput* menu = Game::instance().menu.get();
    if (menu)
        menu->focus_to(find_button(name, __func__));
}
