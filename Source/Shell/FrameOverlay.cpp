#include "Shell/FrameOverlay.h"

#include <algorithm>
#include <cstdio>

#include "Audio/MusicEngine.h"
#include "Creatures/AIState.h"
#include "Mechanisms/TriggerManager.h"
#include "Render/Renderer.h"
#include "Render/ScreenFont.h"
#include "Scene/Layer.h"
#include "Scene/Level.h"
#include "Scene/Particle.h"
#include "Scene/ParticleEmitter.h"
#include "Shell/Game.h"

namespace {

constexpr int32_t margin = 6;
constexpr int32_t bar_width = 2;
constexpr int32_t graph_height = 80;
// Pixels per millisecond: the graph's top is 20 ms.
constexpr float pixels_per_ms = 4.0f;

constexpr Color panel{0.0f, 0.0f, 0.0f, 0.72f};
constexpr Color white{1.0f, 1.0f, 1.0f, 1.0f};
constexpr Color grid{1.0f, 1.0f, 1.0f, 0.35f};
// Script, update, draw, present.
constexpr Color part_colors[4] = {{1.0f, 0.85f, 0.2f, 1.0f},
                                  {0.35f, 0.9f, 0.35f, 1.0f},
                                  {0.35f, 0.6f, 1.0f, 1.0f},
                                  {0.75f, 0.5f, 0.95f, 1.0f}};

void rectangle(Renderer& renderer, float x0, float y0, float x1, float y1, const Color& color) {
    const Vector2 corners[4] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    renderer.draw_quad(Transform{}, corners, color, nullptr, nullptr);
}

float part(const FrameOverlay::Times& t, int i) {
    switch (i) {
        case 0:
            return t.script_ms;
        case 1:
            return t.update_ms;
        case 2:
            return t.draw_ms;
        default:
            return t.present_ms;
    }
}

}  // namespace

FrameOverlay::Counts FrameOverlay::count(const Game& game) {
    Counts c;
    if (game.level) {
        for (const auto& layer : game.level->layers) {
            if (!layer)
                continue;
            for (size_t i = 0; i < layer->size(); ++i) {
                const GameObject* object = layer->object_at(i);
                if (!object)
                    continue;
                ++c.layer_objects;
                if (const auto* emitter = dynamic_cast<const ParticleEmitter*>(object))
                    c.particles += static_cast<int32_t>(emitter->particles.size());
                else if (dynamic_cast<const Particle*>(object))
                    ++c.particles;
            }
        }
    }
    if (game.triggers)
        c.triggers = static_cast<int32_t>(game.triggers->count());
    for (const auto& state : game.ai_states)
        c.ai_states += state ? 1 : 0;
    if (game.music)
        c.sounds = game.music->playing_count();
    return c;
}

void FrameOverlay::record(const Times& times, float interval_ms) {
    times_[next_] = times;
    intervals_[next_] = interval_ms;
    next_ = (next_ + 1) % history;
    count_ = std::min(count_ + 1, history);
}

float FrameOverlay::frames_per_second() const {
    float total = 0.0f;
    for (int32_t i = 0; i < count_; ++i)
        total += intervals_[i];
    return total > 0.0f ? 1000.0f * static_cast<float>(count_) / total : 0.0f;
}

const FrameOverlay::Times& FrameOverlay::frame(int32_t age) const {
    return times_[(next_ - 1 - age + 2 * history) % history];
}

void FrameOverlay::draw(Renderer& renderer, ScreenFont& font, const Counts& counts,
                        int32_t height) const {
    const int32_t line = font.line_height();
    const int32_t text_lines = 3;
    const float left = static_cast<float>(margin);
    const float top = static_cast<float>(height - margin);
    const float width = static_cast<float>(std::max(history * bar_width, 58 * font.advance()));
    const float graph_bottom = top - static_cast<float>(margin + text_lines * line + graph_height);
    const float bottom = graph_bottom - static_cast<float>(margin);
    rectangle(renderer, left, bottom, left + width + 2 * margin, top, panel);

    // Averages over the recorded frames.
    Times mean;
    for (int32_t age = 0; age < count_; ++age) {
        const Times& t = frame(age);
        mean.script_ms += t.script_ms;
        mean.update_ms += t.update_ms;
        mean.draw_ms += t.draw_ms;
        mean.present_ms += t.present_ms;
    }
    if (count_ > 0) {
        const float n = static_cast<float>(count_);
        mean = {mean.script_ms / n, mean.update_ms / n, mean.draw_ms / n, mean.present_ms / n};
    }

    char text[128];
    const int32_t x = margin * 2;
    int32_t y = static_cast<int32_t>(top) - line;
    std::snprintf(text, sizeof text, "%.1f fps  %.2f ms a frame", frames_per_second(),
                  mean.script_ms + mean.update_ms + mean.draw_ms + mean.present_ms);
    font.draw(renderer, x, y, white, text);
    y -= line;
    // The legend, each part in its graph colour.
    const char* names[4] = {"script", "update", "draw", "present"};
    int32_t pen = x;
    for (int i = 0; i < 4; ++i) {
        const int32_t n = std::snprintf(text, sizeof text, "%s %.2f  ", names[i], part(mean, i));
        font.draw(renderer, pen, y, part_colors[i], text);
        pen += n * font.advance();
    }
    y -= line;
    std::snprintf(text, sizeof text, "objects %d  triggers %d  particles %d  ai %d  sounds %d",
                  counts.layer_objects, counts.triggers, counts.particles, counts.ai_states,
                  counts.sounds);
    font.draw(renderer, x, y, white, text);

    // The graph: one stacked bar a frame, the newest on the right, under lines at 10 and
    // 16.7 ms.
    const float graph_left = left + static_cast<float>(margin);
    const float graph_top = graph_bottom + static_cast<float>(graph_height);
    for (int32_t age = 0; age < count_; ++age) {
        const Times& t = frame(age);
        const float bx = graph_left + static_cast<float>((history - 1 - age) * bar_width);
        float by = graph_bottom;
        for (int i = 0; i < 4 && by < graph_top; ++i) {
            const float top_of_part = std::min(graph_top, by + part(t, i) * pixels_per_ms);
            if (top_of_part > by)
                rectangle(renderer, bx, by, bx + bar_width, top_of_part, part_colors[i]);
            by = top_of_part;
        }
    }
    for (float ms : {10.0f, 1000.0f / 60.0f}) {
        const float gy = graph_bottom + ms * pixels_per_ms;
        rectangle(renderer, graph_left, gy, graph_left + history * bar_width, gy + 1.0f, grid);
    }
}
