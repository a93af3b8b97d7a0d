// Script functions of the game controllers, an engine extension: which key each pad input
// presses, and how many pads are connected.
#include "Platform/Gamepads.h"
#include "Platform/PadMap.h"
#include "Script/LuaFunctions.h"

void LuaFunctions::pad_map(const std::string& input_name, int32_t code) {
    const int32_t input = PadMap::input(input_name);
    if (input >= 0)
        Gamepads::instance().remap(input, code);
}

int32_t LuaFunctions::pad_count() {
    // Asked before the first frame (by the start-up script), the pads come up now.
    Gamepads::instance().start();
    return Gamepads::instance().count();
}
