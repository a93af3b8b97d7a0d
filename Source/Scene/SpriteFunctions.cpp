// Script functions of sprites, remorfable sprites and HUD objects.
#include <cmath>

#include "Render/Registries.h"
#include "Scene/AnimatedParticle.h"
#include "Scene/AnimatedSprite.h"
#include "Scene/FindObject.h"
#include "Scene/Hud.h"
#include "Scene/ParticleEmitter.h"
#include "Scene/RemorfableSprite.h"
#include "Scene/ScrollingSprite.h"
#include "Scene/TempLists.h"
#include "Scene/TexturedParticle.h"
#include "Scene/TexturedSprite.h"
#include "Script/LuaFunctions.h"
#include "Script/ScriptErrorLog.h"

namespace {

TempList<GameObject>& objects() {
    return TempLists::instance().game_objects;
}

Texture* texture(const std::string& name, const char* function) {
    Texture* found = TextureRegistry::instance().find(name);
    if (!found)
        ScriptErrorLog::missing(function, "texture", name);
    return found;
}

Animation* animation(const std::string& name, const char* function) {
    Animation* found = AnimationRegistry::instance().find(name);
    if (!found)
        ScriptErrorLog::missing(function, "animation", name);
    return found;
}

}  // namespace

void LuaFunctions::create_sprite(const std::string& name, int32_t kind, const std::string& resource,
                                 float x, float y) {
    // Particles are templates: they have no position of their own.
    if (kind == 2) {
        objects().put(name, std::make_unique<TexturedParticle>(texture(resource, __func__)));
        return;
    }
    if (kind == 5) {
        objects().put(name, std::make_unique<AnimatedParticle>(animation(resource, __func__)));
        return;
    }
    std::unique_ptr<Sprite> sprite;
    switch (kind) {
        case 0:
            sprite = std::make_unique<TexturedSprite>(texture(resource, __func__));
            break;
        case 1:
            sprite = std::make_unique<AnimatedSprite>(animation(resource, __func__));
            break;
        case 3: {
            // The emitter keeps a copy of the named particle, which leaves the temp list.
            std::unique_ptr<Particle> particle_template;
            if (auto* particle = find_object<Particle>(resource, __func__, "particle template")) {
                particle_template = particle->clone();
                objects().take(resource);
            }
            sprite = std::make_unique<ParticleEmitter>(std::move(particle_template));
            break;
        }
        case 4:
            sprite = std::make_unique<ScrollingSprite>(texture(resource, __func__));
            break;
        default:
            return;
    }
    sprite->transform.position = {x, y};
    objects().put(name, std::move(sprite));
}

void LuaFunctions::sprite_shape(const std::string& name, int32_t kind, float w, float h) {
    if (kind == 0 || kind == 1 || kind == 4) {
        if (Sprite* sprite = find_object<Sprite>(name, __func__, "sprite"))
            sprite->set_half_size(w, h);
    } else if (kind == 2 || kind == 5) {
        if (Particle* particle = find_object<Particle>(name, __func__, "particle template"))
            particle->set_half_size(w, h);
    }
}

void LuaFunctions::textured_sprite_tex_coords(const std::string& name, int32_t kind, float left,
                                              float bottom, float right, float top) {
    if (kind == 0) {
        if (auto* sprite = find_object<TexturedSprite>(name, __func__, "textured sprite"))
            sprite->set_tex_coords(left, bottom, right, top);
    } else if (kind == 2) {
        if (auto* particle =
                find_object<TexturedParticle>(name, __func__, "textured particle template"))
            particle->set_tex_coords(left, bottom, right, top);
    } else if (kind == 4) {
        if (auto* sprite = find_object<ScrollingSprite>(name, __func__, "scrolling sprite")) {
            sprite->set_tex_coords(left, bottom, right, top);
            for (int i = 0; i < 4; ++i)
                sprite->saved_tex_coords[i] = sprite->tex_coords[i];
        }
    }
}

void LuaFunctions::scrolling_sprite(const std::string& name, int32_t mode, float speed) {
    auto* sprite = find_object<ScrollingSprite>(name, __func__, "scrolling sprite");
    if (!sprite)
        return;
    // Script modes: 0 none, 1 horizontal, 2 vertical.
    if (mode == 0)
        sprite->scroll_mode = ScrollingSprite::none;
    if (mode == 1)
        sprite->scroll_mode = ScrollingSprite::horizontal;
    if (mode == 2)
        sprite->scroll_mode = ScrollingSprite::vertical;
    sprite->scroll_speed = speed;
}

void LuaFunctions::sprite_rotation(const std::string& name, float angle) {
    if (Sprite* sprite = find_object<Sprite>(name, __func__, "sprite"))
        sprite->transform.set_rotation(angle);
}

void LuaFunctions::sprite_color(const std::string& name, float r, float g, float b, float a) {
    if (Sprite* sprite = find_object<Sprite>(name, __func__, "sprite"))
        sprite->colour = {r, g, b, a};
}

void LuaFunctions::remorfable_sprite(const std::string& name, const std::string& target_name,
                                     float speed, bool looping) {
    if (!find_object<Sprite>(target_name, __func__, "sprite"))
        return;
    std::unique_ptr<GameObject> taken = objects().take(target_name);
    if (!taken)
        return;  // an alias: another owner has it
    auto remorfable = std::make_unique<RemorfableSprite>();
    remorfable->attach(std::unique_ptr<Sprite>(static_cast<Sprite*>(taken.release())));
    remorfable->speed = speed;
    remorfable->looping = looping;
    objects().put(name, std::move(remorfable));
}

void LuaFunctions::add_key_frame(float time, float x, float y, float angle, float scale) {
    KeyFrame frame;
    frame.time = time;
    frame.position = {x, y};
    frame.axis_x = {std::cos(angle), std::sin(angle)};
    frame.axis_y = {-std::sin(angle), std::cos(angle)};
    frame.colour = {0, 0, 0, 0};
    frame.scale = scale;
    TempLists::instance().pending_key_frame = frame;
}

void LuaFunctions::add_key_frame_color(float r, float g, float b, float a) {
    auto& pending = TempLists::instance().pending_key_frame;
    if (pending)
        pending->colour = {r, g, b, a};
}

void LuaFunctions::upload_key_frame(const std::string& name) {
    auto& pending = TempLists::instance().pending_key_frame;
    auto* remorfable = find_object<RemorfableSprite>(name, __func__, "key-frame sprite");
    if (!remorfable || !pending)
        return;
    remorfable->insert_key_frame(*pending);
    pending.reset();
}

void LuaFunctions::convert_to_hud(const std::string& name) {
    std::unique_ptr<GameObject> object = objects().take(name);
    if (!object) {
        ScriptErrorLog::missing(__func__, "object", name);
        return;
    }
    objects().put(name, std::make_unique<Hud>(std::move(object)));
}
