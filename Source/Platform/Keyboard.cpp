#include "Platform/Keyboard.h"

#include "Platform/SdlKeyboard.h"

namespace {
Keyboard* installed = nullptr;
}

Keyboard& Keyboard::current() {
    return installed ? *installed : SdlKeyboard::instance();
}

void Keyboard::set_current(Keyboard* keyboard) {
    installed = keyboard;
}
