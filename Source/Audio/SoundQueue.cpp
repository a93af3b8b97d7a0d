#include "Audio/SoundQueue.h"

#include <algorithm>
#include <cmath>

#include "Audio/MusicEngine.h"
#include "Audio/Sound.h"

namespace {

// Distances are measured in world units; the view is 1280 units wide.
constexpr double half_view_width = 640.0;
constexpr double view_width = 1280.0;
// The quietest a sound gets: at the edge of its range, or a view's width away.
constexpr double far_gain = 0.25;

double distance(double ax, double ay, double bx, double by) {
    return std::hypot(ax - bx, ay - by);
}

}  // namespace

SoundQueue::SoundQueue() {
    pending_.reserve(128);
}

void SoundQueue::offer(const Sound& sound) {
    // A sound without a path has nothing to play.
    if (sound.current_path().empty() ||
        !(distance(listener_x, listener_y, sound.x, sound.y) <= sound.range))
        return;
    if (count_ == pending_.size())
        pending_.emplace_back();
    Pending& p = pending_[count_++];
    p.path.assign(sound.current_path());
    p.x = sound.x;
    p.y = sound.y;
    p.range = sound.range;
}

float SoundQueue::gain(float x, float y, float range) const {
    // Fades linearly from full at the listener to the quietest at the edge of the range, or at
    // a view's width for a sound whose range is wider than that.
    const double fade = std::min<double>(range, view_width);
    if (!(fade > 0.0))
        return 1.0f;
    const double d = distance(listener_x, listener_y, x, y) / fade;
    if (!(d <= 1.0))
        return static_cast<float>(far_gain);
    return static_cast<float>(1.0 - (1.0 - far_gain) * d);
}

float SoundQueue::pan(float x) const {
    // Fully to one side half a view's width away.
    const double p = (static_cast<double>(x) - listener_x) / half_view_width;
    if (std::isnan(p))
        return 0.0f;
    return static_cast<float>(std::clamp(p, -1.0, 1.0));
}

void SoundQueue::flush(MusicEngine& engine) {
    for (size_t i = 0; i < count_; ++i) {
        const Pending& p = pending_[i];
        engine.play_sfx(p.path, gain(p.x, p.y, p.range), pan(p.x));
    }
    count_ = 0;
}
