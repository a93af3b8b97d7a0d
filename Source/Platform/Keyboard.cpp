#include "Platform/Keyboard.h"

#include "Platform/CombinedKeys.h"
#include "Platform/SdlKeyboard.h"

namespace {
Keyboard* installed = nullptr;
}

Keyboard& Keyboard::current() {
    static CombinedKeys keys;
    return keys;
}

Keyboard& Keyboard::keyboard() {
    return installed ? *installed : SdlKeyboard::instance();
}

void Keyboard::set_current(Keyboard* keyboard) {
    installed = keyboard;
}
