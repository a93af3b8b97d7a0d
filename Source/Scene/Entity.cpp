#include "Scene/Entity.h"

#include <algorithm>

bool Entity::update(float dt) {
    int32_t flags = 0;
    for (size_t i = 0; i < controllers.size();) {
        int32_t r = controllers[i]->update(*this, dt);
        flags |= r;
        if (r & EntityController::controller_finished)
            controllers.erase(controllers.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
    return (flags & EntityController::entity_finished) != 0;
}

void Entity::add_controller(std::unique_ptr<EntityController> controller) {
    if (controller)
        controllers.push_back(std::move(controller));
}

void Entity::set_colour(float red, float green, float blue, float alpha) {
    colour = {std::max(red, 0.0f), std::max(green, 0.0f), std::max(blue, 0.0f),
              std::max(alpha, 0.0f)};
}
