#include "Render/FontBuilders.h"

#include <algorithm>
#include <cmath>

#include "Render/Image.h"
#include "Render/Texture.h"

namespace {

// Width over height of a letter's rectangle in pixels of the picture.
float aspect_of(const Image& image, const Letter& l) {
    const float h = static_cast<float>(image.height) * std::fabs(l.v_top - l.v_bottom);
    if (h == 0.0f)
        return 1.0f;
    return static_cast<float>(image.width) * std::fabs(l.u_right - l.u_left) / h;
}

}  // namespace

std::unique_ptr<LetterTable> build_marker_font(Texture* texture, int32_t band_height,
                                               int32_t first_code) {
    const Image* source = texture ? texture->image() : nullptr;
    if (!source)
        return nullptr;
    const int32_t W = source->width, H = source->height, b = band_height;
    if (W <= 0 || H <= 0 || b <= 0 || H < b ||
        source->pixels.size() < static_cast<size_t>(W) * H * 4)
        return nullptr;

    Image image = *source;
    auto table = std::make_unique<LetterTable>();
    // Only the low byte is a key; unsigned arithmetic keeps the count from overflowing.
    uint32_t code = static_cast<uint32_t>(first_code);
    const float fw = static_cast<float>(W), fh = static_cast<float>(H);
    for (int32_t k = 0; k < H / b; ++k) {
        const int32_t row = H - (k + 1) * b;  // image rows are stored bottom-up
        uint8_t* marker = &image.pixels[static_cast<size_t>(row) * W * 4];
        auto opaque = [&](int32_t x) { return marker[x * 4 + 3] != 0; };
        int32_t x = 0;
        while (x < W) {
            while (x < W && !opaque(x))
                ++x;
            if (x >= W)
                break;
            const int32_t start = x;
            while (x < W && opaque(x))
                ++x;
            const int32_t last = x - 1;
            Letter letter;
            letter.texture = texture;
            letter.u_left = static_cast<float>(start) / fw;
            letter.u_right = static_cast<float>(last + 1) / fw;
            letter.v_bottom = static_cast<float>(row) / fh;
            letter.v_top = static_cast<float>(H - k * b) / fh;
            letter.aspect = aspect_of(image, letter);
            table->set(static_cast<unsigned char>(code), letter);
            ++code;
            x = last + 2;
        }
        // The markers never show.
        std::fill(marker, marker + static_cast<size_t>(W) * 4, uint8_t{0});
    }
    texture->set_image(image);
    return table;
}

std::unique_ptr<LetterTable> build_grid_font(Texture* texture, int32_t cell_width,
                                             int32_t cell_height, int32_t columns, int32_t count,
                                             int32_t first_code) {
    const Image* image = texture ? texture->image() : nullptr;
    const int64_t w = cell_width, h = cell_height, n = columns;
    if (!image || w <= 0 || h <= 0 || n <= 0)
        return nullptr;
    const int64_t W = image->width, H = image->height;
    if (W < w || H < h || W < w * n || n * (H / h) < count)
        return nullptr;

    auto table = std::make_unique<LetterTable>();
    uint32_t code = static_cast<uint32_t>(first_code);
    const float fw = static_cast<float>(W), fh = static_cast<float>(H);
    for (int64_t i = 0; i < count; ++i, ++code) {
        const int64_t r = i / n, j = i % n;
        Letter letter;
        letter.texture = texture;
        letter.u_left = static_cast<float>(j * w) / fw;
        letter.u_right = static_cast<float>((j + 1) * w) / fw;
        letter.v_bottom = static_cast<float>(H - (r + 1) * h) / fh;
        letter.v_top = static_cast<float>(H - r * h) / fh;
        letter.aspect = static_cast<float>(w) / static_cast<float>(h);
        table->set(static_cast<unsigned char>(code), letter);
    }
    return table;
}
