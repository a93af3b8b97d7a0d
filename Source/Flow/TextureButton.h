#pragma once

#include <memory>

#include "Flow/Button.h"

// A button drawn as one of two game objects it owns: one while it has the focus, the other
// while it has not. The looks are drawn where they stand; the button has no position.
class TextureButton : public Button {
  public:
    void draw(Renderer& renderer, const Color& tint) override;
    // Never asks to be removed; the looks are not updated (an animated look stays still).
    bool update(float dt) override;

    std::unique_ptr<GameObject> normal_look;
    std::unique_ptr<GameObject> focused_look;
};
