#include "Flow/TextureButton.h"

void TextureButton::draw(Renderer& renderer, const Color& tint) {
    if (GameObject* look = focused ? focused_look.get() : normal_look.get())
        look->draw(renderer, tint);
}

bool TextureButton::update(float) {
    return false;
}
