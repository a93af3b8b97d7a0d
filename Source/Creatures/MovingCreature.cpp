#include "Creatures/MovingCreature.h"

#include "Shell/Game.h"

MovingCreature::~MovingCreature() {
    Game::instance().remove_ai_states_of(this);
}

bool MovingCreature::update(float dt) {
    const bool remove = Creature::update(dt);
    if (Sprite* e = emitter.get())
        e->transform.position = body.centre();
    return remove;
}
