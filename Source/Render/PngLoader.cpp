#include "Render/PngLoader.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <new>
#include <vector>

namespace {

// Closes the file and frees libpng's structures on every way out of load().
struct ReadState {
    FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;

    ReadState() = default;
    ReadState(const ReadState&) = delete;
    ReadState& operator=(const ReadState&) = delete;
    ~ReadState() {
        if (png)
            png_destroy_read_struct(&png, &info, nullptr);
        if (file)
            std::fclose(file);
    }
};

// libpng reports an error by jumping back to the setjmp of the function that called it. The two
// functions below are the only ones that call libpng's reading steps, and they hold nothing with
// a destructor, so such a jump skips no cleanup; load() frees everything afterwards.

// Reads the header and asks libpng to deliver 8-bit RGBA rows whatever the file holds. False on
// a libpng error (a size above the cap is one) or when the rows would not be 4 bytes a pixel.
bool read_header(png_structp png, png_infop info, FILE* file, uint32_t* width, uint32_t* height) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_init_io(png, file);
    png_set_sig_bytes(png, 8);
    png_set_user_limits(png, PngLoader::max_side, PngLoader::max_side);
    png_read_info(png, info);

    const int colour = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);
    const bool transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (colour == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colour == PNG_COLOR_TYPE_GRAY && depth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (transparency)
        png_set_tRNS_to_alpha(png);
    if (depth == 16)
        png_set_scale_16(png);
    if (colour == PNG_COLOR_TYPE_GRAY || colour == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    if (!(colour & PNG_COLOR_MASK_ALPHA) && !transparency)
        png_set_add_alpha(png, 0xffff, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    *width = png_get_image_width(png, info);
    *height = png_get_image_height(png, info);
    return png_get_bit_depth(png, info) == 8 && png_get_channels(png, info) == 4 &&
           png_get_rowbytes(png, info) == static_cast<size_t>(*width) * 4;
}

// Reads every row and the chunks after the image, so that a file cut short anywhere fails.
bool read_rows(png_structp png, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    return true;
}

}  // namespace

std::unique_ptr<Image> PngLoader::load(const std::string& path) {
    ReadState state;
    state.file = std::fopen(path.c_str(), "rb");
    if (!state.file)
        return nullptr;
    png_byte signature[8];
    if (std::fread(signature, 1, sizeof signature, state.file) != sizeof signature ||
        png_sig_cmp(signature, 0, sizeof signature) != 0)
        return nullptr;
    state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!state.png)
        return nullptr;
    state.info = png_create_info_struct(state.png);
    if (!state.info)
        return nullptr;

    uint32_t width = 0;
    uint32_t height = 0;
    if (!read_header(state.png, state.info, state.file, &width, &height))
        return nullptr;
    if (width == 0 || height == 0 || width > max_side || height > max_side)
        return nullptr;

    std::unique_ptr<Image> image;
    std::vector<png_bytep> rows;
    const size_t stride = static_cast<size_t>(width) * 4;
    try {
        image = std::make_unique<Image>();
        image->pixels.resize(stride * height);
        rows.resize(height);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    image->width = static_cast<int32_t>(width);
    image->height = static_cast<int32_t>(height);
    // libpng delivers the top row first; each row goes straight to its place from the bottom.
    for (uint32_t y = 0; y < height; ++y)
        rows[y] = image->pixels.data() + (height - 1 - y) * stride;
    if (!read_rows(state.png, rows.data()))
        return nullptr;
    return image;
}
