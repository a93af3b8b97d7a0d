#include "Scene/Hud.h"

#include "Render/Camera.h"
#include "Scene/Entity.h"
#include "Scene/RemorfableSprite.h"
#include "Scene/Sprite.h"
#include "Shell/Game.h"

Hud::Hud(std::unique_ptr<GameObject> t) : target(std::move(t)) {
    if (Transform* p = target ? placement(*target) : nullptr)
        offset = p->position;
}

void Hud::draw(Renderer& renderer, const Color& tint) {
    if (target)
        target->draw(renderer, tint);
}

bool Hud::update(float dt) {
    if (!target)
        return false;
    Camera* camera = Game::instance().camera.get();
    Transform* p = placement(*target);
    if (camera && p)
        p->position = camera->position + offset;
    return target->update(dt);
}

Transform* Hud::placement(GameObject& object) {
    if (auto* sprite = dynamic_cast<Sprite*>(&object))
        return &sprite->transform;
    if (auto* entity = dynamic_cast<Entity*>(&object))
        return &entity->transform;
    // A key-frame sprite is placed where its target is.
    if (auto* morph = dynamic_cast<RemorfableSprite*>(&object))
        return morph->target ? &morph->target->transform : nullptr;
    return nullptr;
}
