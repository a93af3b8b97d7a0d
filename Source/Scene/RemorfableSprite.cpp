#include "Scene/RemorfableSprite.h"

#include <cmath>

namespace {

float lerp(float a, float b, float f) {
    return a + f * (b - a);
}
Vector2 lerp(Vector2 a, Vector2 b, float f) {
    return {lerp(a.x, b.x, f), lerp(a.y, b.y, f)};
}

}  // namespace

void RemorfableSprite::draw(Renderer& renderer, const Color& tint) {
    if (target)
        target->draw(renderer, tint);
}

void RemorfableSprite::attach(std::unique_ptr<Sprite> new_target) {
    if (!new_target)
        return;
    if (target) {
        target.reset();
        if (!key_frames.empty())
            key_frames.erase(key_frames.begin());
    }
    target = std::move(new_target);
    KeyFrame initial;
    initial.time = 0.0f;
    initial.position = target->transform.position;
    initial.axis_x = target->transform.axis_x;
    initial.axis_y = target->transform.axis_y;
    initial.colour = target->colour;
    initial.scale = target->transform.scale;
    insert_key_frame(initial);
}

void RemorfableSprite::insert_key_frame(const KeyFrame& frame) {
    if (frame.time < 0.0f || frame.time > 1.0f)
        return;
    auto it = key_frames.begin();
    while (it != key_frames.end() && !(it->time > frame.time))
        ++it;
    key_frames.insert(it, frame);
}

std::unique_ptr<RemorfableSprite> RemorfableSprite::copy() const {
    auto c = std::make_unique<RemorfableSprite>();
    if (target)
        c->target = target->clone();
    c->speed = speed;
    c->key_frames = key_frames;
    c->looping = looping;
    c->segment = segment;
    c->time = 0.0f;
    return c;
}

void RemorfableSprite::segment_ends(KeyFrame*& start, KeyFrame*& end) {
    const int32_t n = static_cast<int32_t>(key_frames.size());
    const int32_t s = segment;
    if (s == 1) {
        start = &key_frames[0];
        start->time = 0.0f;
    } else if (s == 0) {
        start = &key_frames[static_cast<size_t>(n - 1)];
    } else {
        start = &key_frames[static_cast<size_t>(s - 1)];
    }
    if (s != 0) {
        end = &key_frames[static_cast<size_t>(s)];
    } else {
        end = &key_frames[0];
        end->time = 1.0f;
    }
}

bool RemorfableSprite::update(float dt) {
    if (!target)
        return false;
    if (target->update(dt)) {
        target.reset();
        return true;
    }
    const int32_t n = static_cast<int32_t>(key_frames.size());
    if (n < 2)
        return false;
    // A copy may carry a segment its key frames no longer reach.
    if (segment < 0 || segment >= n)
        segment = 1;
    float step = speed * dt;
    if (time + step > 1.0f && !looping)
        return true;
    // Whole cycles change nothing; dropping them keeps a huge step from looping for long.
    if (step > 1.0f)
        step = std::fmod(step, 1.0f);

    KeyFrame* start = nullptr;
    KeyFrame* end = nullptr;
    segment_ends(start, end);
    while (end->time < time + step) {
        step -= end->time - time;
        time = end->time;
        if (segment == n - 1) {
            segment = 0;
        } else {
            const bool from_zero = segment == 0;
            segment += 1;
            if (from_zero)
                time = end->time - 1.0f;
        }
        segment_ends(start, end);
    }
    const float span = end->time - start->time;
    // Key frames at the same time: the end frame is reached at once.
    const float f = span != 0.0f ? (time + step - start->time) / span : 1.0f;
    morph(*start, *end, f);
    time += step;
    return false;
}

void RemorfableSprite::morph(const KeyFrame& start, const KeyFrame& end, float f) {
    // Only what differs between the two frames is written, so other code may change the rest.
    if (!(start.colour == end.colour)) {
        target->colour = {
            lerp(start.colour.r, end.colour.r, f), lerp(start.colour.g, end.colour.g, f),
            lerp(start.colour.b, end.colour.b, f), lerp(start.colour.a, end.colour.a, f)};
    }
    if (!(start.position == end.position))
        target->transform.position = lerp(start.position, end.position, f);
    if (!(start.axis_x == end.axis_x) || !(start.axis_y == end.axis_y)) {
        target->transform.axis_x = lerp(start.axis_x, end.axis_x, f);
        target->transform.axis_y = lerp(start.axis_y, end.axis_y, f);
    }
    if (start.scale != end.scale)
        target->transform.scale = lerp(start.scale, end.scale, f);
}
