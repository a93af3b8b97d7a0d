#include "Render/Animation.h"

#include <algorithm>

void Animation::add_frame(SubTexture* subtexture, float duration) {
    frames.push_back({subtexture, duration});
    if (frames.size() == 1)
        time_left = duration;
}

void Animation::advance(float dt) {
    if (frames.size() < 2)
        return;
    // Within two passes over the frame list every frame that can still come has been shown,
    // whatever the loop mode; a window that long that used up no time would repeat forever.
    const size_t window = 2 * frames.size();
    float remaining = dt;
    size_t steps = 0;
    float window_remaining = remaining;
    int32_t window_index = index;
    int32_t window_direction = direction;
    float window_time_left = time_left;
    while (time_left <= remaining) {
        remaining -= std::max(time_left, 0.0f);
        step();
        time_left = frames[index].duration;
        if (++steps < window)
            continue;
        if (!(remaining < window_remaining)) {
            index = window_index;
            direction = window_direction;
            time_left = window_time_left;
            return;
        }
        steps = 0;
        window_remaining = remaining;
        window_index = index;
        window_direction = direction;
        window_time_left = time_left;
    }
    time_left -= remaining;
}

void Animation::step() {
    const int32_t count = static_cast<int32_t>(frames.size());
    if (direction == 0) {
        if (++index < count)
            return;
        switch (loop_mode) {
            case stop:
                index = count - 1;
                break;
            case ping_pong:
                index = count - 2;
                direction = 1;
                break;
            default:
                index = 0;
                break;
        }
    } else {
        if (--index >= 0)
            return;
        switch (loop_mode) {
            case stop:
                index = 0;
                break;
            case ping_pong:
                index = 1;
                direction = 0;
                break;
            default:
                index = count - 1;
                break;
        }
    }
}

void Animation::reset() {
    index = 0;
    if (!frames.empty())
        time_left = frames[0].duration;
}

const Animation::Frame* Animation::current_frame() const {
    if (index < 0 || static_cast<size_t>(index) >= frames.size())
        return nullptr;
    return &frames[static_cast<size_t>(index)];
}
