// Script functions of bitmap fonts and font maps.
#include <memory>

#include "Render/Registries.h"
#include "Script/LuaFunctions.h"
#include "Script/ScriptErrorLog.h"

void LuaFunctions::init_font(const std::string& name, const std::string& face, int32_t height,
                             bool bold, bool italic) {
    BitmapFontRegistry::instance().add(name,
                                       std::make_unique<BitmapFont>(face, height, bold, italic));
}

void LuaFunctions::create_font(const std::string& name, float letter_height, float letter_width,
                               float letter_spacing, float line_spacing) {
    FontMapRegistry::instance().add(
        name, std::make_unique<FontMap>(letter_height, letter_width, letter_spacing, line_spacing));
}

void LuaFunctions::add_letter_subtexture(const std::string& font, const std::string& subtexture,
                                         const std::string& letter) {
    FontMap* map = FontMapRegistry::instance().find(font);
    const SubTexture* sub = SubTextureRegistry::instance().find(subtexture);
    if (!map)
        ScriptErrorLog::missing(__func__, "font map", font);
    if (!sub)
        ScriptErrorLog::missing(__func__, "sub-texture", subtexture);
    // An empty letter string has no first byte to map.
    if (map && sub && !letter.empty())
        map->add_letter(static_cast<unsigned char>(letter[0]), sub);
}
