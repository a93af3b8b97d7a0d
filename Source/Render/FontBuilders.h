#pragma once

#include <cstdint>
#include <memory>

#include "Render/LetterTable.h"

class Texture;

// Proportional letters marked by runs of opaque pixels on the bottom row of each band of
// band_height rows, numbered in reading order from first_code. The marker rows are cleared in
// the texture's picture. Null when the texture has no picture or the band does not fit.
std::unique_ptr<LetterTable> build_marker_font(Texture* texture, int32_t band_height,
                                               int32_t first_code);

// Letters in a grid of cell_width x cell_height cells, columns to a row, count letters from
// first_code. Null when the cells do not fit the picture.
std::unique_ptr<LetterTable> build_grid_font(Texture* texture, int32_t cell_width,
                                             int32_t cell_height, int32_t columns, int32_t count,
                                             int32_t first_code);
