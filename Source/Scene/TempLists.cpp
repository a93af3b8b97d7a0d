#include "Scene/TempLists.h"

#include "Mechanisms/Trigger.h"
#include "Audio/MusicRecord.h"
#include "Audio/Sound.h"
#include "Flow/DialogFrame.h"

TempLists& TempLists::instance() {
    // Never destroyed: the objects still waiting end with the process.
    static TempLists* lists = new TempLists;
    return *lists;
}

TempLists::TempLists()
    : dialog_line(std::make_unique<DialogLine>()), dialog_frame(std::make_unique<DialogFrame>()) {}
