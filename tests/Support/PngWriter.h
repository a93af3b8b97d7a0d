#pragma once

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "Render/Image.h"

// Writes an 8-bit RGBA PNG file with libpng: tests make real picture files to load.
// The image keeps its bottom row first, as the engine's images do.
inline bool write_png(const std::string& path, const Image& image) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int32_t y = image.height - 1; y >= 0; --y)
        png_write_row(
            png, const_cast<png_bytep>(&image.pixels[static_cast<size_t>(y) * image.width * 4]));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return true;
}

// A transparent picture to draw into with (x, y) from its top-left corner.
struct Picture {
    Image image;
    Picture(int32_t w, int32_t h) {
        image.width = w;
        image.height = h;
        image.pixels.assign(static_cast<size_t>(w) * h * 4, 0);
    }
    uint8_t* at(int32_t x, int32_t y) {
        return &image.pixels[(static_cast<size_t>(image.height - 1 - y) * image.width + x) * 4];
    }
    void set(int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
        uint8_t* p = at(x, y);
        p[0] = r;
        p[1] = g;
        p[2] = b;
        p[3] = a;
    }
    void fill(int32_t x0, int32_t y0, int32_t w, int32_t h, uint8_t r, uint8_t g, uint8_t b,
              uint8_t a = 255) {
        for (int32_t y = y0; y < y0 + h; ++y)
            for (int32_t x = x0; x < x0 + w; ++x)
                set(x, y, r, g, b, a);
    }
};
