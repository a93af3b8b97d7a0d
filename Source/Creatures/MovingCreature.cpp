#include "Creatures/MovingCreature.h"

MovingCreature::~MovingCreature() {
    // AI STATES: the AI states that drive this creature are ended here.
}

bool MovingCreature::update(float dt) {
    const bool remove = Creature::update(dt);
    if (Sprite* e = emitter.get())
        e->transform.position = body.centre();
    return remove;
}
