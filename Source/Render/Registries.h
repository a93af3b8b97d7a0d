#pragma once

#include "Render/Animation.h"
#include "Render/BitmapFont.h"
#include "Render/FontMap.h"
#include "Render/Registry.h"
#include "Render/SubTexture.h"
#include "Render/Texture.h"

// The registries of named resources that scripts fill and game objects look up, for example
// AnimationRegistry::instance().find(name).
using TextureRegistry = Registry<Texture>;
using SubTextureRegistry = Registry<SubTexture>;
using AnimationRegistry = Registry<Animation>;
using BitmapFontRegistry = Registry<BitmapFont>;
using FontMapRegistry = Registry<FontMap>;
