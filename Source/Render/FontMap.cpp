#include "Render/FontMap.h"

bool FontMap::add_letter(unsigned char c, const SubTexture* subtexture) {
    if (!subtexture || letters_[c])
        return false;
    letters_[c] = subtexture;
    return true;
}
