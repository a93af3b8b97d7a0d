#include "Scene/TempLists.h"

#include "Audio/MusicRecord.h"
#include "Audio/Sound.h"
#include "Flow/DialogFrame.h"
#include "Mechanisms/Trigger.h"

namespace {
// Never destroyed: the objects still waiting end with the process (or a restart of the game).
TempLists* lists = nullptr;
}  // namespace

TempLists& TempLists::instance() {
    if (!lists)
        lists = new TempLists;
    return *lists;
}

void TempLists::reset() {
    delete lists;
    lists = new TempLists;
}

TempLists::TempLists()
    : dialog_line(std::make_unique<DialogLine>()), dialog_frame(std::make_unique<DialogFrame>()) {}
