#pragma once

#include <memory>

#include "Audio/Sound.h"
#include "Platform/IntervalTimer.h"
#include "Scene/GameObject.h"

// A game object that plays its sound after an interval, once or again and again. Without a
// positive interval it stays silent.
class SoundEffect : public GameObject {
  public:
    SoundEffect(std::unique_ptr<Sound> sound, float interval, bool repeat);
    // A copy plays a clone of the sound and starts its interval over.
    SoundEffect(const SoundEffect& other);

    void draw(Renderer&, const Color&) override {}
    // True when a one-shot effect has played: its layer then destroys it.
    bool update(float dt) override;
    // Starts the interval over.
    void restart();

    std::unique_ptr<Sound> sound;
    float interval = 0.0f;
    IntervalTimer timer;
    bool repeat = false;
};
