// Script functions of textures, sub-textures and animations.
#include <memory>

#include "Render/PngLoader.h"
#include "Render/Registries.h"
#include "Render/Renderer.h"
#include "Script/LuaFunctions.h"
#include "Script/ScriptErrorLog.h"
#include "Shell/Game.h"

void LuaFunctions::init_texture(const std::string& name, const std::string& path, int32_t,
                                int32_t wrap_s, int32_t wrap_t, int32_t environment) {
    // The first texture of a name stays, so a second one is not worth decoding.
    if (TextureRegistry::instance().find(name))
        return;
    // A file that cannot be loaded still gives a texture; it draws as plain colour.
    std::unique_ptr<Image> image = PngLoader::load(path);
    if (!image)
        ScriptErrorLog::missing(__func__, "PNG picture at", path);
    TextureRegistry::instance().add(
        name, std::make_unique<Texture>(image.get(), wrap_s == 1 ? 1 : 0, wrap_t == 1 ? 1 : 0,
                                        environment == 1 ? 1 : 0));
}

void LuaFunctions::load_resource(int32_t kind, const std::string& name) {
    Resource* resource = nullptr;
    if (kind == 0) {
        resource = TextureRegistry::instance().find(name);
        if (!resource)
            ScriptErrorLog::missing(__func__, "texture", name);
    } else if (kind == 1) {
        resource = BitmapFontRegistry::instance().find(name);
        if (!resource)
            ScriptErrorLog::missing(__func__, "bitmap font", name);
    }
    Renderer* renderer = Game::instance().renderer.get();
    if (resource && renderer)
        renderer->upload(resource);
}

void LuaFunctions::init_subtexture(const std::string& texture, const std::string& name, float left,
                                   float bottom, float right, float top) {
    auto subtexture = std::make_unique<SubTexture>();
    subtexture->texture = TextureRegistry::instance().find(texture);
    if (!subtexture->texture)
        ScriptErrorLog::missing(__func__, "texture", texture);
    subtexture->corners[0] = {left, bottom};
    subtexture->corners[1] = {right, bottom};
    subtexture->corners[2] = {right, top};
    subtexture->corners[3] = {left, top};
    SubTextureRegistry::instance().add(name, std::move(subtexture));
}

void LuaFunctions::init_animation(const std::string& name, int32_t loop_mode, int32_t direction) {
    AnimationRegistry::instance().add(name, std::make_unique<Animation>(loop_mode, direction));
}

void LuaFunctions::animation_add_frame(const std::string& animation, const std::string& subtexture,
                                       float duration) {
    Animation* target = AnimationRegistry::instance().find(animation);
    SubTexture* frame = SubTextureRegistry::instance().find(subtexture);
    if (!target)
        ScriptErrorLog::missing(__func__, "animation", animation);
    if (!frame)
        ScriptErrorLog::missing(__func__, "sub-texture", subtexture);
    if (target && frame)
        target->add_frame(frame, duration);
}
