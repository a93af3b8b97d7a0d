#include "Scene/SpeechBubble.h"

#include "Render/Renderer.h"

void SpeechBubble::draw(Renderer& renderer, const Color& tint) {
    renderer.draw_speech_bubble(*this, tint);
}
