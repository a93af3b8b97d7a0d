#include "Audio/SoundEffect.h"

SoundEffect::SoundEffect(std::unique_ptr<Sound> sound, float interval, bool repeat)
    : sound(std::move(sound)), interval(interval), repeat(repeat) {
    restart();
}

SoundEffect::SoundEffect(const SoundEffect& other)
    : GameObject(other),
      sound(other.sound ? other.sound->clone() : nullptr),
      interval(other.interval),
      repeat(other.repeat) {
    restart();
}

void SoundEffect::restart() {
    timer = IntervalTimer{};
    timer.set_period(interval);
}

bool SoundEffect::update(float dt) {
    if (!sound)
        return false;
    timer.advance(dt);
    if (timer.ticks == 0)
        return false;
    timer.ticks = 0;
    sound->play();
    return !repeat;
}
