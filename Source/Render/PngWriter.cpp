#include "Render/PngWriter.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace {

struct File {
    FILE* f = nullptr;
    ~File() {
        if (f)
            std::fclose(f);
    }
};

// libpng reports errors by longjmp; everything with a destructor lives in the caller.
bool encode(FILE* f, const Image& image, png_bytep* rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool PngWriter::write(const std::string& path, const Image& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<size_t>(image.width) * image.height * 4)
        return false;
    std::vector<png_bytep> rows(static_cast<size_t>(image.height));
    const size_t stride = static_cast<size_t>(image.width) * 4;
    for (int32_t y = 0; y < image.height; ++y)
        rows[static_cast<size_t>(image.height - 1 - y)] =
            const_cast<png_bytep>(image.pixels.data() + stride * static_cast<size_t>(y));
    File file;
    file.f = std::fopen(path.c_str(), "wb");
    if (!file.f)
        return false;
    bool ok = encode(file.f, image, rows.data());
    FILE* f = file.f;
    file.f = nullptr;
    return std::fclose(f) == 0 && ok;
}
