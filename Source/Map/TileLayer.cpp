#include "Map/TileLayer.h"

#include <algorithm>
#include <cmath>

#include "Render/Camera.h"
#include "Render/Renderer.h"

TileLayer::TileLayer(Vector2 top_left, float cell_width, float cell_height, int32_t columns,
                     int32_t rows, std::vector<uint32_t> cells, std::vector<Tile> tiles)
    : top_left_(top_left),
      cell_width_(cell_width),
      cell_height_(cell_height),
      columns_(columns),
      rows_(rows),
      cells_(std::move(cells)),
      tiles_(std::move(tiles)) {
    for (const Tile& t : tiles_) {
        reach_left_ = std::max(reach_left_, -t.offset.x);
        reach_right_ = std::max(reach_right_, t.offset.x + t.width - cell_width_);
        reach_down_ = std::max(reach_down_, -t.offset.y);
        reach_up_ = std::max(reach_up_, t.offset.y + t.height - cell_height_);
    }
}

void TileLayer::animate(uint32_t tile, std::vector<Frame> frames) {
    if (tile == 0 || tile > tiles_.size() || frames.empty())
        return;
    float length = 0;
    for (const Frame& f : frames) {
        length += f.duration;
        reach_left_ = std::max(reach_left_, -f.look.offset.x);
        reach_right_ = std::max(reach_right_, f.look.offset.x + f.look.width - cell_width_);
        reach_down_ = std::max(reach_down_, -f.look.offset.y);
        reach_up_ = std::max(reach_up_, f.look.offset.y + f.look.height - cell_height_);
    }
    if (!(length > 0))
        return;
    tiles_[tile - 1] = frames.front().look;
    animated_.push_back({tile, std::move(frames), length});
}

bool TileLayer::update(float dt) {
    if (animated_.empty())
        return false;
    time_ += dt;
    for (const Animated& a : animated_) {
        float t = static_cast<float>(std::fmod(time_, static_cast<double>(a.length)));
        size_t i = 0;
        while (i + 1 < a.frames.size() && t >= a.frames[i].duration)
            t -= a.frames[i++].duration;
        tiles_[a.tile - 1] = a.frames[i].look;
    }
    return false;
}

uint32_t TileLayer::cell(int32_t column, int32_t row) const {
    if (column < 0 || row < 0 || column >= columns_ || row >= rows_)
        return 0;
    return cells_[size_t(row) * size_t(columns_) + size_t(column)];
}

void TileLayer::draw(Renderer& renderer, const Color& tint) {
    tiles_drawn_ = 0;
    const Camera* camera = renderer.camera();
    if (!camera || columns_ <= 0 || rows_ <= 0)
        return;
    const auto [left, right, bottom, top] = camera->upright_extent();
    const Vector2 p = camera->position;
    // Columns grow to the right, rows downwards from top_left.
    const float x0 = (p.x + left - reach_right_ - top_left_.x) / cell_width_;
    const float x1 = (p.x + right + reach_left_ - top_left_.x) / cell_width_;
    const float y0 = (top_left_.y - (p.y + top + reach_down_)) / cell_height_;
    const float y1 = (top_left_.y - (p.y + bottom - reach_up_)) / cell_height_;
    if (!(x1 >= 0 && y1 >= 0 && x0 < columns_ && y0 < rows_))
        return;
    const int32_t c0 = std::max(0, static_cast<int32_t>(std::floor(x0)));
    const int32_t c1 = std::min(columns_ - 1, static_cast<int32_t>(std::floor(x1)));
    const int32_t r0 = std::max(0, static_cast<int32_t>(std::floor(y0)));
    const int32_t r1 = std::min(rows_ - 1, static_cast<int32_t>(std::floor(y1)));

    const Transform identity;
    Vector2 corners[4];
    Vector2 tex[4];
    // The corners lower-left, lower-right, upper-right, upper-left, as (right, down) fractions
    // of the tile.
    static constexpr float corner_a[4] = {0, 1, 1, 0};
    static constexpr float corner_b[4] = {1, 1, 0, 0};
    for (int32_t row = r0; row <= r1; ++row) {
        const uint32_t* line = &cells_[size_t(row) * size_t(columns_)];
        const float cell_bottom = top_left_.y - float(row + 1) * cell_height_;
        for (int32_t column = c0; column <= c1; ++column) {
            const uint32_t value = line[column];
            if (value == 0)
                continue;
            const Tile& t = tiles_[(value & ~flags) - 1];
            const float x = top_left_.x + float(column) * cell_width_ + t.offset.x;
            const float y = cell_bottom + t.offset.y;
            corners[0] = {x, y};
            corners[1] = {x + t.width, y};
            corners[2] = {x + t.width, y + t.height};
            corners[3] = {x, y + t.height};
            for (int i = 0; i < 4; ++i) {
                // Tiled's flips: the diagonal one first, then horizontal, then vertical; so the
                // point sampled for a corner undoes them in the reverse order.
                float a = corner_a[i], b = corner_b[i];
                if (value & flip_vertical)
                    b = 1 - b;
                if (value & flip_horizontal)
                    a = 1 - a;
                if (value & flip_diagonal)
                    std::swap(a, b);
                tex[i] = {t.u0 + a * (t.u1 - t.u0), t.v0 + b * (t.v1 - t.v0)};
            }
            renderer.draw_quad(identity, corners, tint, t.texture, tex);
            ++tiles_drawn_;
        }
    }
}
