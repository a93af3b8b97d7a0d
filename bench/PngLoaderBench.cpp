// Decoding cost of script-time texture loading: a 512 x 512 RGBA sprite sheet.
#include <benchmark/benchmark.h>
#include <png.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "Render/PngLoader.h"

namespace {

// Writes a sheet with some structure, so that compression and filtering have work to do.
std::string write_sheet(int interlace) {
    const int side = 512;
    std::vector<uint8_t> pixels(size_t(side) * side * 4);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            uint8_t* p = &pixels[(size_t(y) * side + x) * 4];
            p[0] = uint8_t(x);
            p[1] = uint8_t(y);
            p[2] = uint8_t((x * y) >> 6);
            p[3] = uint8_t(((x / 32 + y / 32) % 2) * 255);
        }
    const std::string path =
        (std::filesystem::temp_directory_path() /
         ("velden-bench-" + std::to_string(getpid()) + "-" + std::to_string(interlace) + ".png"))
            .string();
    // Made before the setjmp: a libpng error jumps back over nothing with a destructor.
    std::vector<png_bytep> rows(side);
    for (int y = 0; y < side; ++y)
        rows[y] = &pixels[size_t(y) * side * 4];
    FILE* file = std::fopen(path.c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, side, side, 8, PNG_COLOR_TYPE_RGBA, interlace,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        if (interlace)
            png_set_interlace_handling(png);
        png_write_image(png, rows.data());
        png_write_end(png, nullptr);
    }
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return path;
}

void BM_LoadSpriteSheet(benchmark::State& state) {
    const std::string path = write_sheet(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto image = PngLoader::load(path);
        if (!image) {
            state.SkipWithError("the sheet did not load");
            break;
        }
        benchmark::DoNotOptimize(image->pixels.data());
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadSpriteSheet)->Arg(PNG_INTERLACE_NONE)->Arg(PNG_INTERLACE_ADAM7);

}  // namespace
