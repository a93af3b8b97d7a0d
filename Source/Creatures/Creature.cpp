#include "Creatures/Creature.h"

#include "Core/WalkGuard.h"
#include "Mechanisms/AreaTrigger.h"
#include "Mechanisms/TriggerManager.h"
#include "Render/Renderer.h"
#include "Render/SubTexture.h"
#include "Shell/Game.h"

Creature::Creature() = default;

Creature::~Creature() {
    dispose_carried_trigger(std::move(trigger));
}

void Creature::draw(Renderer& renderer, const Color& tint) {
    Transform placed = body.transform;
    placed.position = body.centre();
    const Color c = colour * tint;
    const Animation::Frame* frame =
        current_animation ? current_animation->current_frame() : nullptr;
    if (!frame || !frame->subtexture) {
        renderer.draw_quad(placed, corners, c, nullptr, nullptr);
        return;
    }
    const SubTexture& sub = *frame->subtexture;
    Vector2 tex[4] = {sub.corners[0], sub.corners[1], sub.corners[2], sub.corners[3]};
    if (body.facing == -1) {
        // Mirrored: left and right swap along both the bottom and the top edge.
        std::swap(tex[0], tex[1]);
        std::swap(tex[2], tex[3]);
    }
    renderer.draw_quad(placed, corners, c, sub.texture, tex);
}

bool Creature::update(float dt) {
    if (state == removed_state)
        return true;
    if (current_animation)
        current_animation->advance(dt);
    if (AreaTrigger* t = active_trigger())
        t->transform.position = body.centre();
    return false;
}

void Creature::set_idle_animation(const Animation* animation) {
    idle_animation = animation ? std::make_unique<Animation>(*animation) : nullptr;
    current_animation = idle_animation.get();
}

void Creature::set_trigger(std::unique_ptr<AreaTrigger> new_trigger) {
    dispose_carried_trigger(std::move(trigger));
    if (AreaTrigger* old = managed_trigger.get()) {
        // A trigger handed to the manager earlier is replaced too.
        if (TriggerManager* manager = Game::instance().triggers.get())
            manager->remove(old);
    }
    managed_trigger.reset();
    trigger = std::move(new_trigger);
}

AreaTrigger* Creature::active_trigger() const {
    return trigger ? trigger.get() : managed_trigger.get();
}
