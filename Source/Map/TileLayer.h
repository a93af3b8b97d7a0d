#pragma once

#include <cstdint>
#include <vector>

#include "Render/Vector2.h"
#include "Scene/GameObject.h"

class Texture;

// A grid of tiles in a layer of the level. Drawing walks only the cells the camera shows, so
// a layer costs in proportion to the tiles in view whatever the size of the map.
class TileLayer : public GameObject {
  public:
    // A tile as drawn: its picture, its rectangle there and its place relative to the cell.
    struct Tile {
        const Texture* texture = nullptr;
        float u0 = 0, v0 = 0, u1 = 1, v1 = 1;  // texture rectangle, v0 at the tile's top
        float width = 0, height = 0;           // world units
        Vector2 offset;                        // from the cell's lower-left corner
    };
    static constexpr uint32_t flip_horizontal = 0x80000000u;
    static constexpr uint32_t flip_vertical = 0x40000000u;
    static constexpr uint32_t flip_diagonal = 0x20000000u;
    static constexpr uint32_t flags = 0xe0000000u;
    struct Frame {
        Tile look;
        float duration = 0;  // seconds, above 0
    };

    // top_left: the world position of the top-left corner of cell (0, 0); cells run right and
    // down from it, row by row. Each cell is 0 (empty) or 1 + an index into tiles, with the flip
    // flags above.
    TileLayer(Vector2 top_left, float cell_width, float cell_height, int32_t columns, int32_t rows,
              std::vector<uint32_t> cells, std::vector<Tile> tiles);

    // Makes tile index (1 + an index into tiles) play the frames in a loop, every cell that
    // shows it in step, as Tiled plays them.
    void animate(uint32_t tile, std::vector<Frame> frames);

    void draw(Renderer& renderer, const Color& tint) override;
    // Advances the animated tiles.
    bool update(float dt) override;

    int32_t columns() const { return columns_; }
    int32_t rows() const { return rows_; }
    uint32_t cell(int32_t column, int32_t row) const;
    // How many tiles the last draw sent to the renderer.
    int64_t tiles_drawn() const { return tiles_drawn_; }

  private:
    Vector2 top_left_;
    float cell_width_, cell_height_;
    int32_t columns_, rows_;
    std::vector<uint32_t> cells_;
    std::vector<Tile> tiles_;
    // How far a tile may reach beyond its cell, so that the cells just outside the view whose
    // tiles reach into it are drawn too.
    float reach_left_ = 0, reach_right_ = 0, reach_down_ = 0, reach_up_ = 0;
    int64_t tiles_drawn_ = 0;

    struct Animated {
        uint32_t tile;
        std::vector<Frame> frames;
        float length;
    };
    std::vector<Animated> animated_;
    double time_ = 0;
};
