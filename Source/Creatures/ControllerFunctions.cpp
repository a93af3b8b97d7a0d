// Script functions that build keyboard controllers and hand them to the menu or the player.
#include "Core/WalkGuard.h"
#include "Creatures/UserController.h"
#include "Flow/KeyNames.h"
#include "Flow/MenuInput.h"
#include "Scene/TempLists.h"
#include "Script/LuaFunctions.h"
#include "Script/ScriptErrorLog.h"
#include "Shell/Game.h"

void LuaFunctions::add_input_listener(int32_t type, const std::string& key_name) {
    std::unique_ptr<UserController>& pending = TempLists::instance().pending_controller;
    if (!pending)
        pending = std::make_unique<UserController>();
    // Listener types name the commands in another order.
    static constexpr int32_t commands[] = {command::up, command::down, command::left,
                                           command::right, command::action};
    if (type >= 0 && type < 5) {
        pending->add_binding(commands[type], key_name);
        if (KeyNames::instance().code_of(key_name) == 0)
            ScriptErrorLog::missing(__func__, "key named", key_name);
    }
}

void LuaFunctions::upload_controller(int32_t mode) {
    std::unique_ptr<UserController> controller =
        std::move(TempLists::instance().pending_controller);
    if (!controller)
        return;
    Game& game = Game::instance();
    if (mode == 0 && game.menu) {
        // The menu step may be reading the old controller's events right now.
        WalkGuard::dispose(std::move(game.menu->controller));
        game.menu->controller = std::move(controller);
        return;
    }
    if (mode == 1) {
        // The player's controller; a player made later picks it up too.
        game.set_player_controller(std::move(controller));
        return;
    }
    // Dropped controllers are freed here.
}
