// Script functions of segment strips.
#include "Physics/Ground.h"
#include "Scene/Level.h"
#include "Scene/TempLists.h"
#include "Script/LuaFunctions.h"
#include "Script/ScriptErrorLog.h"
#include "Shell/Game.h"

namespace {

SegmentStripBuilder& builder() {
    return TempLists::instance().strips;
}

}  // namespace

void LuaFunctions::create_segment(float x, float y) {
    builder().create_segment(x, y);
}

void LuaFunctions::create_segment_with_code(float x1, float y1, float x2, float y2, int32_t code) {
    builder().create_segment_with_code(x1, y1, x2, y2, code);
}

void LuaFunctions::add_segment(float x, float y) {
    builder().add_segment(x, y);
}

void LuaFunctions::add_segment_with_code(float x, float y, int32_t code) {
    Level* level = Game::instance().level.get();
    if (!level) {
        ScriptErrorLog::missing(__func__, "current level");
        return;
    }
    if (ScriptErrorLog::reports_missing() && !find_strip_with_code(level->segment_strips, code))
        ScriptErrorLog::missing(__func__, "segment strip with code", code);
    SegmentStripBuilder::add_segment_with_code(level->segment_strips, x, y, code);
}

void LuaFunctions::upload_segmentstrip() {
    if (Level* level = Game::instance().level.get())
        builder().upload_segmentstrip(level->segment_strips);
    else
        ScriptErrorLog::missing(__func__, "current level");
}
